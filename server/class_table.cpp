#include "server/class_table.h"

#include "platform/hresult.h"
#include "server/registry_resources.h"
#include "server/server_registration.h"
#include "smarttag/st_action.h"
#include "smarttag/st_recognizer.h"

namespace vistrel {
namespace {

constexpr int kActionRegistryScript = VISTREL_STACTION_SCRIPT;
constexpr int kRecognizerRegistryScript = VISTREL_STRECOGNIZER_SCRIPT;

ClassEntry EntryFor(const CLSID& classId, ClassRegistration registration, int registryScript,
                    InstanceCreator createInstance) noexcept {
    return {&classId, registration, registryScript, createInstance, nullptr};
}

}  // namespace

ClassTable::ClassTable() noexcept
    : entries_{
          EntryFor(__uuidof(::STAction), &RunClassRegistryScript<kActionRegistryScript>,
                   kActionRegistryScript, &STAction::CreateInstance),
          EntryFor(__uuidof(::STRecognizer), &RunClassRegistryScript<kRecognizerRegistryScript>,
                   kRecognizerRegistryScript, &STRecognizer::CreateInstance)} {}

ClassTable::~ClassTable() { ReleaseClassObjects(); }

bool ClassTable::Start() noexcept { return SUCCEEDED(lock_.Initialize()); }

void ClassTable::ReleaseClassObjects() noexcept {
    for (ClassEntry& entry : entries_) {
        if (IUnknown* object = entry.classObject) {
            entry.classObject = nullptr;
            object->Release();
        }
    }
}

HRESULT ClassTable::GetClassObject(REFCLSID classId, REFIID interfaceId, void** out) noexcept {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    ClassEntry* row = nullptr;
    for (ClassEntry& entry : entries_) {
        if (IsEqualCLSID(*entry.classId, classId)) {
            row = &entry;
            break;
        }
    }
    if (row == nullptr) return CLASS_E_CLASSNOTAVAILABLE;

    HRESULT status = S_OK;
    // Tested again under the lock, so that two threads never make two class objects.
    if (row->classObject == nullptr) {
        const LockHolder lock(lock_);
        RETURN_IF_FAILED(lock.Status());
        if (row->classObject == nullptr) {
            void* made = nullptr;
            status = CachedClassFactory::Create(row->createInstance, IID_IUnknown, &made);
            row->classObject = static_cast<IUnknown*>(made);
        }
    }
    if (row->classObject != nullptr) status = row->classObject->QueryInterface(interfaceId, out);
    if (*out == nullptr) return FailureOr(status, CLASS_E_CLASSNOTAVAILABLE);
    return status;
}

namespace {
// Made when the module's runtime starts, before DllMain: a function-local static would take the
// runtime's thread-safe guard, whose thread bookkeeping outlives an unloaded library.
ClassTable theClassTable;
}  // namespace

ClassTable& TheClassTable() noexcept { return theClassTable; }

}  // namespace vistrel
