// The classes that the library serves, in the order of registration: STAction, STRecognizer.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "platform/locks.h"
#include "server/cached_class_factory.h"

namespace vistrel {

struct ClassEntry {
    const CLSID* classId;
    // Runs the class's registry script (`registryScript`, a REGISTRY resource) forwards or
    // backwards.
    HRESULT (*registration)(bool registering) noexcept;
    int registryScript;
    // Makes the instances; the class object (a CachedClassFactory) calls it.
    InstanceCreator createInstance;
    // Null until first asked for; the entry then owns one reference until the library unloads.
    IUnknown* classObject;
};

class ClassTable {
public:
    ClassTable() noexcept;
    ClassTable(const ClassTable&) = delete;
    ClassTable& operator=(const ClassTable&) = delete;
    ~ClassTable();

    // Process attach: the class-table lock; false when it cannot be initialised.
    bool Start() noexcept;
    // Process detach: releases every cached class object.
    void ReleaseClassObjects() noexcept;

    // The class object of `classId` (the same one on every request), asked for `interfaceId`.
    HRESULT GetClassObject(REFCLSID classId, REFIID interfaceId, void** out) noexcept;

    static constexpr int kEntryCount = 2;
    const ClassEntry* begin() const noexcept { return entries_; }
    const ClassEntry* end() const noexcept { return entries_ + kEntryCount; }

private:
    ClassEntry entries_[kEntryCount];
    CriticalSection lock_;
};

// The library's one class table.
ClassTable& TheClassTable() noexcept;

}  // namespace vistrel
