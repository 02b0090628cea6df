#include "runtime/StringFunctions.h"

#include "platform/CaseMapping.h"

void CopyString(char16_t* destination, size_t capacity, const char16_t* source) {
    if (destination == nullptr || capacity == 0) {
        return;
    }
    size_t count = 0;
    if (source != nullptr) {
        while (count + 1 < capacity && source[count] != u'\0') {
            destination[count] = source[count];
            ++count;
        }
    }
    destination[count] = u'\0';
}

void MakeUpperCase(char16_t* buffer, size_t length) {
    if (buffer != nullptr) {
        platform::UpperCaseInPlace(buffer, length);
    }
}

void MakeLowerCase(char16_t* buffer, size_t length) {
    if (buffer != nullptr) {
        platform::LowerCaseInPlace(buffer, length);
    }
}

size_t TextLength(const char16_t* text) {
    if (text == nullptr) {
        return 0;
    }
    size_t length = 0;
    while (text[length] != u'\0') {
        ++length;
    }
    return length;
}
