// The mixing function of the state hash, shared by the game record and the
// tables fixed for a match (which carry their own fingerprint).
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace zelkar {

// Values whose bytes are all value: numbers, and arrays of them with no gap
// between elements. Hashing the bytes of anything else could read padding.
template <typename T>
struct Packed : std::bool_constant<std::is_arithmetic_v<T>> {};
template <typename T, std::size_t N>
struct Packed<std::array<T, N>>
    : std::bool_constant<Packed<T>::value && sizeof(std::array<T, N>) == N * sizeof(T)> {};

// FNV-1a of a name, at compile time: the id a member is hashed under.
consteval uint64_t nameId(std::string_view name) {
  uint64_t h = 0xCBF29CE484222325ull;  // the FNV-1a 64 offset basis
  for (char c : name) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001B3ull;
  return h;
}

// FNV-1a over 64-bit words instead of bytes (eight times fewer multiplies:
// it runs after every tick). The xorshift after each multiply carries high
// bits down, which plain word-wise FNV never does. Every step is
// invertible, so inputs that differ in a single word always hash
// differently.
class Hasher {
 public:
  void mix(uint64_t w) {
    h_ = (h_ ^ w) * 0x100000001B3ull;  // the FNV-1a 64 prime
    h_ ^= h_ >> 29;
  }
  void bytes(const void* data, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(data);
    for (; n >= 8; b += 8, n -= 8) {
      uint64_t w;
      std::memcpy(&w, b, 8);
      mix(w);
    }
    if (n > 0) {
      uint64_t w = 0;
      std::memcpy(&w, b, n);
      mix(w ^ (uint64_t{n} << 56));  // the length keeps a short tail apart from zeros
    }
  }
  template <typename T>
  void value(const T& v) {
    static_assert(Packed<T>::value, "only padding-free values are hashed as bytes");
    bytes(&v, sizeof v);
  }
  // A named value: left out while all its bytes are zero (every member's
  // initial value), otherwise its id and then its bytes. So a member added
  // to the record changes no hash until it leaves its initial value, and
  // two members can never stand in for each other.
  template <typename T>
  void named(uint64_t id, const T& v) {
    static_assert(Packed<T>::value, "only padding-free values are hashed as bytes");
    if (allZero(&v, sizeof v)) return;
    mix(id);
    bytes(&v, sizeof v);
  }
  // The finaliser of MurmurHash3: every input bit reaches every output bit.
  uint64_t result() const {
    uint64_t h = h_;
    h ^= h >> 33;
    h *= 0xFF51AFD7ED558CCDull;
    h ^= h >> 33;
    h *= 0xC4CEB9FE1A85EC53ull;
    h ^= h >> 33;
    return h;
  }

  static bool allZero(const void* data, std::size_t n) {
    const auto* b = static_cast<const unsigned char*>(data);
    uint64_t any = 0;
    for (; n >= 8; b += 8, n -= 8) {
      uint64_t w;
      std::memcpy(&w, b, 8);
      any |= w;
    }
    for (; n > 0; ++b, --n) any |= *b;
    return any == 0;
  }

 private:
  uint64_t h_ = 0xCBF29CE484222325ull;  // the FNV-1a 64 offset basis
};

}  // namespace zelkar
