// Fixed-capacity, length-prefixed text: the model's names, code and messages without heap allocation.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace tavlix {

template <std::size_t N>
struct ShortString {
    static_assert(N <= 255, "the length lives in one byte");
    std::uint8_t len = 0;
    char data[N] = {};

    static constexpr std::size_t capacity() { return N; }
    std::size_t size() const { return len; }
    bool empty() const { return len == 0; }
    const char* begin() const { return data; }
    const char* end() const { return data + len; }
    char operator[](std::size_t i) const { return data[i]; }
    std::string_view view() const { return {data, len}; }
    std::string str() const { return std::string(view()); }

    // Stores at most N bytes of s; the rest is cut off.
    void assign(std::string_view s)
    {
        len = static_cast<std::uint8_t>(std::min(s.size(), N));
        std::memcpy(data, s.data(), len);
    }
    void clear() { len = 0; }
    // Appends as much of s as fits.
    void append(std::string_view s)
    {
        std::size_t n = std::min(s.size(), N - len);
        std::memcpy(data + len, s.data(), n);
        len = static_cast<std::uint8_t>(len + n);
    }
    void pushBack(char c)
    {
        if (len < N)
            data[len++] = c;
    }

    ShortString& operator=(std::string_view s)
    {
        assign(s);
        return *this;
    }
    friend bool operator==(const ShortString& a, std::string_view b) { return a.view() == b; }
};

}  // namespace tavlix
