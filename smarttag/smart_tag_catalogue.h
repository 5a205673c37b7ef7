// Every text that the smart tag classes and the calculator hand out, read once from the string
// table when the library loads and only read afterwards, without locks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "smarttag/catalogue_list.h"
#include "smarttag/smart_tag_records.h"

namespace vistrel {

class SmartTagCatalogue {
public:
    // Reads the string table of the module instance: the class strings from ids 200 and 300,
    // then the tag types, verbs and terms from the ids that strings 1000, 1001 and 1002 name.
    // Null only when the catalogue itself cannot be allocated; a list that cannot be is empty.
    static std::unique_ptr<SmartTagCatalogue> Load() noexcept;

    SmartTagCatalogue(const SmartTagCatalogue&) = delete;
    SmartTagCatalogue& operator=(const SmartTagCatalogue&) = delete;

    // Lists are addressed by 0-based positions; null past the end.
    std::uint32_t TagTypeCount() const noexcept { return CountOf(tagTypes_); }
    const SmartTagType* TagType(std::uint32_t position) const noexcept {
        return At(tagTypes_, position);
    }
    std::uint32_t VerbCount() const noexcept { return CountOf(verbs_); }
    const SmartTagVerb* Verb(std::uint32_t position) const noexcept { return At(verbs_, position); }
    std::uint32_t TermCount() const noexcept { return CountOf(terms_); }
    const SmartTagTerm* Term(std::uint32_t position) const noexcept { return At(terms_, position); }

    // The smart tag interfaces number tag types and verbs from 1; null for ids outside
    // 1 to the count.
    const SmartTagType* TagTypeWithId(int id) const noexcept { return WithId(tagTypes_, id); }
    const SmartTagVerb* VerbWithId(int id) const noexcept { return WithId(verbs_, id); }

    // The URL of the first term, which is the address of the rate page; null when none.
    BSTR RatePageUrl() const noexcept;

    const ClassStrings& RecognizerStrings() const noexcept { return recognizerStrings_; }
    const ClassStrings& ActionStrings() const noexcept { return actionStrings_; }

private:
    SmartTagCatalogue() noexcept = default;

    template <typename Record>
    using List = std::unique_ptr<CatalogueList<Record>>;

    template <typename Record>
    static std::uint32_t CountOf(const List<Record>& list) noexcept {
        return list ? list->Count() : 0;
    }
    template <typename Record>
    static const Record* At(const List<Record>& list, std::uint32_t position) noexcept {
        return list && position < list->Count() ? list->At(position) : nullptr;
    }
    template <typename Record>
    static const Record* WithId(const List<Record>& list, int id) noexcept {
        return id >= 1 ? At(list, static_cast<std::uint32_t>(id - 1)) : nullptr;
    }

    List<SmartTagType> tagTypes_;
    List<SmartTagVerb> verbs_;
    List<SmartTagTerm> terms_;
    ClassStrings recognizerStrings_;
    ClassStrings actionStrings_;
};

// The process-wide catalogue, built at process attach and destroyed at process detach.
// Building reports whether a catalogue could be made; the library loads either way.
bool BuildCatalogue() noexcept;
void DestroyCatalogue() noexcept;
// Null before the build, after the destruction, or when the build failed.
const SmartTagCatalogue* Catalogue() noexcept;

}  // namespace vistrel
