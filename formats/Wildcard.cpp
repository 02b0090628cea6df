// A Win32 mask is first rewritten into the file system's expression language
// ("*" and "*.*" match everything; "?" becomes DOS_QM; a "." before "?" or "*"
// becomes DOS_DOT; a trailing "*." becomes DOS_STAR), then matched the way
// FsRtlIsNameInExpression matches, ignoring case by simple upper-casing.
//
// The matcher runs the expression as a set of positions advanced once per
// name unit, so its cost is bounded by mask length x name length whatever the
// mask holds ("*a*a*a*a*b" included).
#include "formats/Wildcard.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/CaseMapping.h"

namespace formats {

using platform::UpperCaseUnit;

namespace {

// The expression language's DOS wildcards.
constexpr char16_t kDosStar = u'<';  // any units up to the name's last "."
constexpr char16_t kDosQm = u'>';    // one unit, or nothing at a "." or the end
constexpr char16_t kDosDot = u'"';   // a ".", or nothing at the end

bool MatchesEverything(std::u16string_view mask) {
    return mask == u"*" || mask == u"*.*";
}

// Rewrites the Win32 mask into the expression language, upper-cased.
void TranslateMask(std::u16string_view mask, std::u16string& expression) {
    expression.clear();
    expression.reserve(mask.size());
    const size_t size = mask.size();
    for (size_t i = 0; i < size; ++i) {
        const char16_t unit = mask[i];
        if (unit == u'?') {
            expression += kDosQm;
        } else if (unit == u'.') {
            const bool last = i + 1 == size;
            if (last && i > 0 && mask[i - 1] == u'*') {
                expression.back() = kDosStar;  // "*." at the end: names without a dot
            } else if (!last && (mask[i + 1] == u'?' || mask[i + 1] == u'*')) {
                expression += kDosDot;
            } else {
                expression += u'.';
            }
        } else {
            expression += UpperCaseUnit(unit);
        }
    }
}

bool HasWildcard(std::u16string_view expression) {
    for (char16_t unit : expression) {
        if (unit == u'*' || unit == kDosStar || unit == kDosQm || unit == kDosDot) {
            return true;
        }
    }
    return false;
}

bool EqualIgnoringCase(std::u16string_view upperExpression, std::u16string_view name) {
    if (upperExpression.size() != name.size()) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        if (upperExpression[i] != UpperCaseUnit(name[i])) {
            return false;
        }
    }
    return true;
}

// A set of expression positions 0..size (size means the whole expression
// matched). Usual masks fit the inline words; longer ones use the heap.
class PositionSet {
public:
    explicit PositionSet(size_t positions) : count_((positions + 63) / 64) {
        if (count_ > kInlineWords) {
            heap_.resize(count_);
            words_ = heap_.data();
        }
        Clear();
    }
    PositionSet(const PositionSet&) = delete;
    PositionSet& operator=(const PositionSet&) = delete;

    void Clear() { std::fill(words_, words_ + count_, uint64_t{0}); }
    bool Has(size_t i) const { return (words_[i / 64] >> (i % 64)) & 1; }
    void Add(size_t i) { words_[i / 64] |= uint64_t{1} << (i % 64); }
    bool Empty() const {
        for (size_t w = 0; w < count_; ++w) {
            if (words_[w] != 0) {
                return false;
            }
        }
        return true;
    }
    // Exchanges contents with a set of the same size.
    void Swap(PositionSet& other) { std::swap(words_, other.words_); }

private:
    static constexpr size_t kInlineWords = 4;
    size_t count_;
    uint64_t inline_[kInlineWords];
    std::vector<uint64_t> heap_;
    uint64_t* words_ = inline_;
};

// Whether the expression may step over its element at `position` without
// using a name unit, when the unit at hand is `unit` (atEnd: none is left).
bool CanSkip(char16_t element, bool atEnd, char16_t unit) {
    switch (element) {
        case u'*':
        case kDosStar:
            return true;
        case kDosQm:
            return atEnd || unit == u'.';
        case kDosDot:
            return atEnd;
        default:
            return false;
    }
}

// Adds every position reachable from the set without using a unit. Skips
// only ever move one position forward, so one ascending pass is enough.
void Close(std::u16string_view expression, PositionSet& set, bool atEnd, char16_t unit) {
    for (size_t i = 0; i < expression.size(); ++i) {
        if (set.Has(i) && CanSkip(expression[i], atEnd, unit)) {
            set.Add(i + 1);
        }
    }
}

bool MatchExpression(std::u16string_view expression, std::u16string_view name) {
    const size_t lastDot = name.rfind(u'.');
    const size_t size = expression.size();
    PositionSet current(size + 1);
    PositionSet next(size + 1);
    current.Add(0);
    for (size_t n = 0; n < name.size(); ++n) {
        const char16_t unit = UpperCaseUnit(name[n]);
        Close(expression, current, false, unit);
        next.Clear();
        for (size_t i = 0; i < size; ++i) {
            if (!current.Has(i)) {
                continue;
            }
            const char16_t element = expression[i];
            switch (element) {
                case u'*':
                    next.Add(i);
                    break;
                case kDosStar:
                    // Never swallows the name's last dot: that one is left to
                    // what follows in the expression.
                    if (unit != u'.' || n != lastDot) {
                        next.Add(i);
                    }
                    break;
                case kDosQm:
                    if (unit != u'.') {
                        next.Add(i + 1);
                    }
                    break;
                case kDosDot:
                    if (unit == u'.') {
                        next.Add(i + 1);
                    }
                    break;
                default:
                    if (element == unit) {
                        next.Add(i + 1);
                    }
                    break;
            }
        }
        if (next.Empty()) {
            return false;
        }
        current.Swap(next);
    }
    Close(expression, current, true, 0);
    return current.Has(size);
}

}  // namespace

bool MatchesWildcard(std::u16string_view mask, std::u16string_view name) {
    if (MatchesEverything(mask)) {
        return true;
    }
    std::u16string expression;
    TranslateMask(mask, expression);
    if (!HasWildcard(expression)) {
        return EqualIgnoringCase(expression, name);
    }
    return MatchExpression(expression, name);
}

}  // namespace formats
