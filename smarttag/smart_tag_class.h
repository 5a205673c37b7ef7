// What the recognizer and the action share: the type information of their two dual interfaces,
// the answer to QueryInterface between those two, and the tag types of the catalogue.
#pragma once

#include <windows.h>

#include "platform/type_info_cache.h"
#include "smarttag/smart_tag_catalogue.h"
#include "smarttag/type_library_ids.h"

namespace vistrel {

// The type information of a class's own interface (the library's type library) and of the
// host's interface it implements (the host's smart tag library).
struct SmartTagClassTypeInfo {
    constexpr SmartTagClassTypeInfo(const IID& ownInterface, const IID& hostInterface) noexcept
        : own(ownInterface, LIBID_VistrelLib, kTypeLibraryMajorVersion, kTypeLibraryMinorVersion),
          host(hostInterface, LIBID_SmartTagLib, kTypeLibraryMajorVersion,
               kTypeLibraryMinorVersion) {}

    TypeInfoCache own;
    TypeInfoCache host;
};

// The class's interface for `interfaceId`, null for none. IDispatch is answered with the host's
// interface, the one that the host drives late-bound.
template <typename OwnInterface, typename HostInterface>
IUnknown* FindSmartTagInterface(REFIID interfaceId, OwnInterface* own,
                                HostInterface* host) noexcept {
    if (IsEqualIID(interfaceId, __uuidof(OwnInterface))) return own;
    if (IsEqualIID(interfaceId, IID_IDispatch) ||
        IsEqualIID(interfaceId, __uuidof(HostInterface))) {
        return host;
    }
    return nullptr;
}

// The tag type that `id` names, counted from 1; null outside 1 to the count, and always when
// the catalogue could not be built.
const SmartTagType* TagTypeWithId(int id) noexcept;

// get_SmartTagCount of both classes: the catalogue's tag types, 0 when it could not be built.
HRESULT CountTagTypes(int* count) noexcept;

}  // namespace vistrel
