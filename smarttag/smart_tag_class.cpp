#include "smarttag/smart_tag_class.h"

namespace vistrel {

const SmartTagType* TagTypeWithId(int id) noexcept {
    const SmartTagCatalogue* catalogue = Catalogue();
    return catalogue != nullptr ? catalogue->TagTypeWithId(id) : nullptr;
}

HRESULT CountTagTypes(int* count) noexcept {
    if (count == nullptr) return E_POINTER;
    const SmartTagCatalogue* catalogue = Catalogue();
    *count = catalogue != nullptr ? static_cast<int>(catalogue->TagTypeCount()) : 0;
    return S_OK;
}

}  // namespace vistrel
