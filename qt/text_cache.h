// Laid-out captions kept between frames. Shaping a caption costs far more
// than drawing it, and most captions stay the same from one tick to the
// next, so each (font, text) is laid out once.
#pragma once

#include <QFont>
#include <QHash>
#include <QStaticText>
#include <QString>
#include <utility>

namespace zelkar::qt {

class TextCache {
 public:
  // `font` must outlive the cache (fonts come from a cache of their own).
  // The result holds until the next call.
  const QStaticText& get(const QFont& font, const QString& text);

 private:
  // Read-outs take a new value nearly every tick; forgetting everything now
  // and then keeps the cache small without tracking what is still in use.
  static constexpr std::size_t kMaxEntries = 4096;
  // Hashed: read-outs are looked up every tick, and comparing strings
  // down a tree cost more than the rest of the lookup.
  QHash<std::pair<const QFont*, QString>, QStaticText> entries_;
};

}  // namespace zelkar::qt
