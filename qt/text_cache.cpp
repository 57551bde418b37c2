#include "qt/text_cache.h"

#include <QTransform>

namespace zelkar::qt {

const QStaticText& TextCache::get(const QFont& font, const QString& text) {
  auto key = std::pair(&font, text);
  auto it = entries_.find(key);
  if (it != entries_.end()) return it->second;
  if (entries_.size() >= kMaxEntries) entries_.clear();
  QStaticText laidOut(text);
  laidOut.setTextFormat(Qt::PlainText);
  laidOut.prepare(QTransform(), font);
  return entries_.emplace(std::move(key), std::move(laidOut)).first->second;
}

}  // namespace zelkar::qt
