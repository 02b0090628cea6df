#include "runtime/SWCharString.h"

#include <algorithm>

#include "platform/Collation.h"
#include "platform/Multibyte.h"

namespace {

bool IsAsciiWhiteSpace(char16_t unit) {
    return unit == u' ' || (unit >= u'\t' && unit <= u'\r');
}

}  // namespace

SWCharString::SWCharString(const char16_t* text) {
    if (text != nullptr) {
        text_ = text;
    }
}

SWCharString& SWCharString::operator=(const char16_t* text) {
    return copyFrom(text);
}

SWCharString& SWCharString::operator+=(const SWCharString& text) {
    text_ += text.text_;
    return *this;
}

SWCharString& SWCharString::operator+=(const char16_t* text) {
    if (text != nullptr) {
        text_ += text;
    }
    return *this;
}

SWCharString& SWCharString::operator+=(char16_t unit) {
    text_ += unit;
    return *this;
}

SWCharString& SWCharString::concat(const char16_t* text, size_t count) {
    if (text != nullptr) {
        size_t length = 0;
        while (length < count && text[length] != u'\0') {
            ++length;
        }
        text_.append(text, length);
    }
    return *this;
}

int SWCharString::compare(const SWCharString& other) const {
    const int result = text_.compare(other.text_);
    return (result > 0) - (result < 0);
}

int SWCharString::compareNoCase(const SWCharString& other) const {
    return platform::CompareTextNoCase(text_.c_str(), other.text_.c_str());
}

SWCharString SWCharString::left(size_t count) const {
    return SWCharString(text_.substr(0, count));
}

SWCharString SWCharString::left(iterator end) const {
    return end ? left(end.index()) : *this;
}

SWCharString SWCharString::right(size_t count) const {
    const size_t length = text_.size();
    return SWCharString(text_.substr(length - std::min(count, length)));
}

SWCharString SWCharString::right(iterator start) const {
    if (!start || start.index() >= text_.size()) {
        return SWCharString();
    }
    return SWCharString(text_.substr(start.index() + 1));
}

SWCharString SWCharString::mid(size_t start, size_t count) const {
    if (start >= text_.size()) {
        return SWCharString();
    }
    return SWCharString(text_.substr(start, count));
}

char16_t SWCharString::getAt(size_t index) const {
    return index < text_.size() ? text_[index] : u'\0';
}

SWCharString::iterator SWCharString::findFirst(char16_t unit) const {
    return iterator(text_.find(unit));
}

SWCharString::iterator SWCharString::findLast(char16_t unit) const {
    return iterator(text_.rfind(unit));
}

SWCharString& SWCharString::trimLeft() {
    const auto first = std::find_if_not(text_.begin(), text_.end(), IsAsciiWhiteSpace);
    text_.erase(text_.begin(), first);
    return *this;
}

SWCharString& SWCharString::trimRight() {
    const auto last = std::find_if_not(text_.rbegin(), text_.rend(), IsAsciiWhiteSpace);
    text_.erase(last.base(), text_.end());
    return *this;
}

SWCharString& SWCharString::copyFrom(const char* narrow) {
    text_.clear();
    if (narrow != nullptr) {
        for (const char* byte = narrow; *byte != '\0'; ++byte) {
            text_ += static_cast<char16_t>(static_cast<unsigned char>(*byte));
        }
    }
    return *this;
}

SWCharString& SWCharString::copyFrom(const char16_t* text) {
    if (text == nullptr) {
        text_.clear();
    } else {
        text_ = text;
    }
    return *this;
}

SWCharString& SWCharString::fromMBCS(const char* narrow) {
    text_ = narrow != nullptr ? platform::AnsiToUtf16(narrow) : std::u16string();
    return *this;
}

size_t SWCharString::toWChar(char16_t* destination, size_t capacity) const {
    if (destination == nullptr) {
        return text_.size() + 1;
    }
    if (capacity == 0) {
        return 0;
    }
    const size_t count = std::min(text_.size(), capacity - 1);
    std::copy_n(text_.data(), count, destination);
    destination[count] = u'\0';
    return count;
}
