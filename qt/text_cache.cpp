#include "qt/text_cache.h"

#include <QTransform>

namespace zelkar::qt {

const QStaticText& TextCache::get(const QFont& font, const QString& text) {
  auto key = std::pair(&font, text);
  auto it = entries_.constFind(key);
  if (it != entries_.constEnd()) return it.value();
  if (std::size_t(entries_.size()) >= kMaxEntries) entries_.clear();
  QStaticText laidOut(text);
  laidOut.setTextFormat(Qt::PlainText);
  laidOut.prepare(QTransform(), font);
  return entries_.insert(std::move(key), std::move(laidOut)).value();
}

}  // namespace zelkar::qt
