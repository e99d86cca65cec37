#pragma once
// The server's process-wide counts that DllCanUnloadNow answers from: live add-in objects and
// class-factory locks. Event sinks are not counted.
namespace inkra::addin {

void ObjectCreated();
void ObjectDestroyed();
long LiveObjects();

// IClassFactory::LockServer.
void LockServer(bool lock);
long ServerLocks();

// No live object and no lock.
bool CanUnloadNow();

}  // namespace inkra::addin
