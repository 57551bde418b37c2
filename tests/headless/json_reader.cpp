#include "json_reader.h"

#include <regex>

namespace zelkar::sim::test {

namespace {

class Reader {
 public:
  explicit Reader(std::string_view t) : t_(t) {}

  Json document() {
    Json v = value();
    if (i_ != t_.size()) fail("text after the value");
    return v;
  }

 private:
  [[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what + " at offset " + std::to_string(i_));
  }
  bool take(char c) { return i_ < t_.size() && t_[i_] == c ? (++i_, true) : false; }
  void expect(char c) {
    if (!take(c)) fail(std::string("expected ") + c);
  }

  Json value() {
    Json v;
    if (take('{')) {
      v.kind = Json::Kind::Object;
      if (take('}')) return v;
      do {
        std::string k = string();
        expect(':');
        v.fields.emplace_back(std::move(k), value());
      } while (take(','));
      expect('}');
    } else if (take('[')) {
      v.kind = Json::Kind::Array;
      if (take(']')) return v;
      do v.items.push_back(value());
      while (take(','));
      expect(']');
    } else if (i_ < t_.size() && t_[i_] == '"') {
      v.kind = Json::Kind::String;
      v.text = string();
    } else if (t_.substr(i_, 4) == "true" || t_.substr(i_, 5) == "false") {
      v.kind = Json::Kind::Bool;
      v.boolean = t_[i_] == 't';
      i_ += v.boolean ? 4 : 5;
    } else {
      // The number grammar of JSON: no leading zeros, no "+", no bare ".".
      static const std::regex number(R"(^-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][-+]?[0-9]+)?)");
      std::match_results<std::string_view::const_iterator> m;
      if (!std::regex_search(t_.begin() + i_, t_.end(), m, number)) fail("bad value");
      v.kind = Json::Kind::Number;
      v.text = m.str();
      i_ += v.text.size();
    }
    return v;
  }

  std::string string() {
    expect('"');
    std::string s;
    while (true) {
      if (i_ == t_.size()) fail("unterminated string");
      const unsigned char c = t_[i_++];
      if (c == '"') return s;
      if (c < 0x20) fail("raw control character in a string");
      if (c != '\\') {
        s += static_cast<char>(c);
        continue;
      }
      const char e = i_ < t_.size() ? t_[i_++] : '?';
      if (e == '"' || e == '\\' || e == '/')
        s += e;
      else if (e == 'n')
        s += '\n';
      else if (e == 'r')
        s += '\r';
      else if (e == 't')
        s += '\t';
      else if (e == 'u' && i_ + 4 <= t_.size()) {
        const unsigned cp = std::stoul(std::string(t_.substr(i_, 4)), nullptr, 16);
        i_ += 4;
        // One or three UTF-8 bytes cover what the writer escapes.
        if (cp < 0x80)
          s += static_cast<char>(cp);
        else
          s += {static_cast<char>(0xE0 | (cp >> 12)), static_cast<char>(0x80 | ((cp >> 6) & 63)),
                static_cast<char>(0x80 | (cp & 63))};
      } else
        fail("bad escape");
    }
  }

  std::string_view t_;
  std::size_t i_ = 0;
};

}  // namespace

Json parseJson(std::string_view text) { return Reader(text).document(); }

}  // namespace zelkar::sim::test
