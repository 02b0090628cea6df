// The entry points that take back what a logon and the logon dialog handed
// out.
#include "driver/EntryPoints.h"
#include "logon/LogonHandle.h"
#include "logon/LogonInfo.h"
#include "logon/PropertyCollection.h"

DbStatus DbLogoffServer(DbLogonRef logon) {
    DeleteLogonHandle(LogonHandleFrom(logon));
    return Status_Success;
}

DbStatus DbFreeLogonInfo(DbLogonInfo* logonInfo) {
    DeleteLogonInfo(logonInfo);
    return Status_Success;
}

DbStatus DbFreePropertyCollection(DbPropertyCollection* collection) {
    DeleteCollection(collection);
    return Status_Success;
}
