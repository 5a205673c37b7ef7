#include "smarttag/smart_tag_catalogue.h"

#include <new>

#include "base/allocation_hook.h"
#include "platform/exceptions.h"
#include "smarttag/string_loading.h"

namespace vistrel {
namespace {

constexpr int kRecognizerStringsId = 200;
constexpr int kActionStringsId = 300;
constexpr int kTagTypeIndexId = 1000;
constexpr int kVerbIndexId = 1001;
constexpr int kTermIndexId = 1002;

// Reads records from `startId` on, one every Record::kStringCount ids, until the first one whose
// required strings are missing. No count is stored anywhere: the table alone decides.
template <typename Record>
std::unique_ptr<CatalogueList<Record>> LoadList(int startId) noexcept {
    std::unique_ptr<CatalogueList<Record>> list(NewOrNull<CatalogueList<Record>>("catalogue list"));
    if (!list) return nullptr;
    for (int id = startId;; id += Record::kStringCount) {
        try {
            // A record that gets no node is dropped, and loading goes on.
            list->Append(Record(id));
        } catch (const ExGeneral&) {
            break;
        }
    }
    list->EstablishCount();
    return list;
}

// At namespace scope: a function-local static would take the runtime's thread-safe guard, whose
// thread bookkeeping outlives an unloaded library.
constinit std::unique_ptr<SmartTagCatalogue> processCatalogue;

std::unique_ptr<SmartTagCatalogue>& ProcessCatalogue() noexcept { return processCatalogue; }

}  // namespace

std::unique_ptr<SmartTagCatalogue> SmartTagCatalogue::Load() noexcept {
    if (AllocationRefused("catalogue")) return nullptr;
    std::unique_ptr<SmartTagCatalogue> catalogue(new (std::nothrow) SmartTagCatalogue);
    if (!catalogue) return nullptr;
    catalogue->recognizerStrings_ = ClassStrings(kRecognizerStringsId);
    catalogue->actionStrings_ = ClassStrings(kActionStringsId);
    catalogue->tagTypes_ = LoadList<SmartTagType>(LoadIndexString(kTagTypeIndexId));
    catalogue->verbs_ = LoadList<SmartTagVerb>(LoadIndexString(kVerbIndexId));
    catalogue->terms_ = LoadList<SmartTagTerm>(LoadIndexString(kTermIndexId));
    return catalogue;
}

BSTR SmartTagCatalogue::RatePageUrl() const noexcept {
    const SmartTagTerm* first = Term(0);
    return first != nullptr ? first->Url() : nullptr;
}

bool BuildCatalogue() noexcept {
    ProcessCatalogue() = SmartTagCatalogue::Load();
    return ProcessCatalogue() != nullptr;
}

void DestroyCatalogue() noexcept { ProcessCatalogue().reset(); }

const SmartTagCatalogue* Catalogue() noexcept { return ProcessCatalogue().get(); }

}  // namespace vistrel
