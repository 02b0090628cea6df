// SWCharString: the driver's wide string, a value type over UTF-16 units.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

class SWCharString {
public:
    // A position in a string; tests false when a search found nothing.
    class iterator {
    public:
        iterator() = default;
        explicit iterator(size_t index) : index_(index) {}
        explicit operator bool() const { return index_ != npos; }
        size_t index() const { return index_; }

    private:
        size_t index_ = npos;
    };

    static constexpr size_t npos = std::u16string::npos;

    SWCharString() = default;
    SWCharString(const char16_t* text);  // null gives the empty string
    SWCharString(std::u16string_view text) : text_(text) {}
    SWCharString(std::u16string text) : text_(std::move(text)) {}

    SWCharString& operator=(const char16_t* text);
    bool operator==(const SWCharString& other) const { return text_ == other.text_; }
    bool operator!=(const SWCharString& other) const { return text_ != other.text_; }
    SWCharString& operator+=(const SWCharString& text);
    SWCharString& operator+=(const char16_t* text);
    SWCharString& operator+=(char16_t unit);

    // Appends the first `count` units of `text` (fewer when it ends sooner).
    SWCharString& concat(const char16_t* text, size_t count);

    // Ordinal comparison: below, at or above 0.
    int compare(const SWCharString& other) const;
    // Comparison after simple upper-casing.
    int compareNoCase(const SWCharString& other) const;

    SWCharString left(size_t count) const;
    SWCharString left(iterator end) const;  // before `end`; the whole text when not found
    SWCharString right(size_t count) const;
    SWCharString right(iterator start) const;  // after `start`; empty when not found
    SWCharString mid(size_t start, size_t count = npos) const;

    char16_t getAt(size_t index) const;  // 0 past the end
    iterator findFirst(char16_t unit) const;
    iterator findLast(char16_t unit) const;

    SWCharString& trimLeft();
    SWCharString& trimRight();

    SWCharString& copyFrom(const char* narrow);  // bytes taken as Latin-1 units
    SWCharString& copyFrom(const char16_t* text);
    SWCharString& fromMBCS(const char* narrow);  // the process's ANSI code page

    // Copies into `destination` (NUL-terminated, at most `capacity` units)
    // and returns the units written without the NUL; with a null destination
    // returns the units needed including the NUL.
    size_t toWChar(char16_t* destination, size_t capacity) const;

    size_t length() const { return text_.size(); }
    bool isEmpty() const { return text_.empty(); }
    const char16_t* c_str() const { return text_.c_str(); }
    const std::u16string& str() const { return text_; }
    std::u16string_view view() const { return text_; }

private:
    std::u16string text_;
};
