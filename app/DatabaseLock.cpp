// LockDatabase and UnlockDatabase: DbLock taken and released. Kept apart from Database.cpp
// because the sync-object header and the toolkit's event header both declare a TEvent and
// cannot share a translation unit.
#include "app/AppGlobals.h"
#include "app/Database.h"
#include "toolkit/system/SyncObjs.h"

void LockDatabase() { DbLock.Enter(); }
void UnlockDatabase() { DbLock.Leave(); }
