// Laid-out captions kept between frames. Shaping a caption costs far more
// than drawing it, and most captions stay the same from one tick to the
// next, so each (font, text) is laid out once.
#pragma once

#include <QFont>
#include <QStaticText>
#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace zelkar::qt {

class TextCache {
 public:
  // `font` must outlive the cache (fonts come from a cache of their own);
  // `text` is a core text in UTF-8, laid out in the language in use. The
  // result holds until the next call.
  const QStaticText& get(const QFont& font, std::string_view text);

 private:
  // Read-outs take a new value nearly every tick; forgetting everything now
  // and then keeps the cache small without tracking what is still in use.
  static constexpr std::size_t kMaxEntries = 4096;

  // Looked up by a view of the caption's bytes: a hit, which is nearly
  // every lookup, allocates nothing.
  struct Key {
    const QFont* font;
    std::string text;
  };
  struct KeyView {
    const QFont* font;
    std::string_view text;
  };
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(const KeyView& k) const;
    std::size_t operator()(const Key& k) const { return (*this)(KeyView{k.font, k.text}); }
  };
  struct Equal {
    using is_transparent = void;
    static KeyView view(const Key& k) { return {k.font, k.text}; }
    static KeyView view(const KeyView& k) { return k; }
    template <typename A, typename B>
    bool operator()(const A& a, const B& b) const {
      return view(a).font == view(b).font && view(a).text == view(b).text;
    }
  };
  std::unordered_map<Key, QStaticText, Hash, Equal> entries_;
};

}  // namespace zelkar::qt
