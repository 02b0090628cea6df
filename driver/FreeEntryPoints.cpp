// The entry points that take back what the driver handed out.
#include "driver/EntryPoints.h"
#include "runtime/HostMemory.h"

DbStatus DbFreeString(char16_t* text) {
    FreeHostBlock(text);
    return Status_Success;
}

DbStatus DbFreeFieldValue(void* buffer) {
    FreeHostBlock(buffer);
    return Status_Success;
}

DbStatus DbFreeErrorInfo(ErrorInfo* errorInfo) {
    // Each record's chain goes before the record itself, so the last record
    // goes first: reverse the chain in place, then release from its new head.
    ErrorInfo* reversed = nullptr;
    while (errorInfo != nullptr) {
        ErrorInfo* next = errorInfo->next;
        errorInfo->next = reversed;
        reversed = errorInfo;
        errorInfo = next;
    }
    while (reversed != nullptr) {
        ErrorInfo* next = reversed->next;
        FreeHostBlock(reversed->message);
        FreeHostBlock(reversed);
        reversed = next;
    }
    return Status_Success;
}
