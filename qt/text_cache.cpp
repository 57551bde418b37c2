#include "qt/text_cache.h"

#include <QTransform>
#include <functional>

#include "qt/core_texts.h"

namespace zelkar::qt {

std::size_t TextCache::Hash::operator()(const KeyView& k) const {
  const std::size_t text = std::hash<std::string_view>{}(k.text);
  return text ^
         (std::hash<const void*>{}(k.font) + 0x9E3779B97F4A7C15ULL + (text << 6) + (text >> 2));
}

const QStaticText& TextCache::get(const QFont& font, std::string_view text) {
  auto it = entries_.find(KeyView{&font, text});
  if (it != entries_.end()) return it->second;
  if (entries_.size() >= kMaxEntries) entries_.clear();
  // Translated here, once per (font, text): each language has fonts of its own,
  // so a change of language never finds the other language's entries.
  QStaticText laidOut(coreText(text));
  laidOut.setTextFormat(Qt::PlainText);
  laidOut.prepare(QTransform(), font);
  return entries_.emplace(Key{&font, std::string(text)}, std::move(laidOut)).first->second;
}

}  // namespace zelkar::qt
