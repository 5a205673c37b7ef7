#include "smarttag/smart_tag_records.h"

#include "platform/exceptions.h"
#include "smarttag/string_loading.h"

namespace vistrel {
namespace {

// The strings loaded so far are freed with the members as the exception leaves.
void RequireString(const UniqueBstr& text) {
    if (!text) throw ExGeneral();
}

}  // namespace

SmartTagType::SmartTagType(int firstId)
    : name_(LoadStringBstr(firstId)),
      downloadUrl_(LoadStringBstr(firstId + 1)),
      caption_(LoadStringBstr(firstId + 2)) {
    RequireString(name_);
    RequireString(caption_);
}

SmartTagVerb::SmartTagVerb(int firstId)
    : name_(LoadStringBstr(firstId)), caption_(LoadStringBstr(firstId + 1)) {
    RequireString(name_);
}

SmartTagTerm::SmartTagTerm(int firstId)
    : term_(LoadStringBstr(firstId)), url_(LoadStringBstr(firstId + 1)) {
    RequireString(term_);
}

ClassStrings::ClassStrings(int firstId) noexcept
    : progId_(LoadStringBstr(firstId)),
      name_(LoadStringBstr(firstId + 1)),
      description_(LoadStringBstr(firstId + 2)) {}

}  // namespace vistrel
