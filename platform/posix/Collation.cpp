#include "platform/Collation.h"

#include <unicode/ucol.h>

#include <memory>

#include "platform/CaseMapping.h"

namespace platform {
namespace {

struct CollatorCloser {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorCloser>;

// The root collator, i.e. the CLDR default order that every locale starts
// from. Null when ICU cannot open it (e.g. its data is missing).
CollatorPtr OpenRootCollator(UColAttributeValue strength) {
    UErrorCode status = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open("", &status));
    if (U_FAILURE(status)) {
        return nullptr;
    }
    ucol_setStrength(collator.get(), strength);
    return collator;
}

// Collators are safe to share between threads for comparing; each is opened
// once, on first use.
const UCollator* CaseSensitiveCollator() {
    static const CollatorPtr collator = OpenRootCollator(UCOL_TERTIARY);
    return collator.get();
}

const UCollator* CaseBlindCollator() {
    static const CollatorPtr collator = OpenRootCollator(UCOL_SECONDARY);
    return collator.get();
}

const char16_t* OrEmpty(const char16_t* text) {
    return text != nullptr ? text : u"";
}

// Like the C runtime, a collation that cannot be done reports kCollationError.
int Collate(const UCollator* collator, const char16_t* a, const char16_t* b) {
    if (collator == nullptr) {
        return kCollationError;
    }
    switch (ucol_strcoll(collator, OrEmpty(a), -1, OrEmpty(b), -1)) {
        case UCOL_LESS:
            return -1;
        case UCOL_GREATER:
            return 1;
        default:
            return 0;
    }
}

}  // namespace

int CollateText(const char16_t* a, const char16_t* b) {
    return Collate(CaseSensitiveCollator(), a, b);
}

int CollateTextNoCase(const char16_t* a, const char16_t* b) {
    return Collate(CaseBlindCollator(), a, b);
}

int CompareTextNoCase(const char16_t* a, const char16_t* b) {
    a = OrEmpty(a);
    b = OrEmpty(b);
    for (;; ++a, ++b) {
        const char16_t upperA = UpperCaseUnit(*a);
        const char16_t upperB = UpperCaseUnit(*b);
        if (upperA != upperB) {
            return upperA < upperB ? -1 : 1;
        }
        if (upperA == u'\0') {
            return 0;
        }
    }
}

}  // namespace platform
