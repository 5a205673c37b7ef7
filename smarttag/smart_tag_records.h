// The records of the catalogue, each read from consecutive ids of the string table. A list record
// whose required strings are missing is not made: its constructor raises ExGeneral, which ends
// the list being read.
#pragma once

#include <windows.h>

#include "platform/unique_resource.h"

namespace vistrel {

// A smart tag type: name (k), download URL (k+1), caption (k+2); name and caption required.
class SmartTagType {
public:
    static constexpr int kStringCount = 3;
    explicit SmartTagType(int firstId);

    BSTR Name() const noexcept { return name_.get(); }
    BSTR DownloadUrl() const noexcept { return downloadUrl_.get(); }
    BSTR Caption() const noexcept { return caption_.get(); }

private:
    UniqueBstr name_;
    UniqueBstr downloadUrl_;
    UniqueBstr caption_;
};

// A verb of the action: name (k), caption (k+1); name required.
class SmartTagVerb {
public:
    static constexpr int kStringCount = 2;
    explicit SmartTagVerb(int firstId);

    BSTR Name() const noexcept { return name_.get(); }
    BSTR Caption() const noexcept { return caption_.get(); }

private:
    UniqueBstr name_;
    UniqueBstr caption_;
};

// A term that the recognizer looks for: the term (k), its web address (k+1); term required.
class SmartTagTerm {
public:
    static constexpr int kStringCount = 2;
    explicit SmartTagTerm(int firstId);

    BSTR Term() const noexcept { return term_.get(); }
    BSTR Url() const noexcept { return url_.get(); }

private:
    UniqueBstr term_;
    UniqueBstr url_;
};

// ProgID (k), name (k+1) and description (k+2) of a class; any of them may be missing.
class ClassStrings {
public:
    ClassStrings() noexcept = default;
    explicit ClassStrings(int firstId) noexcept;

    BSTR ProgId() const noexcept { return progId_.get(); }
    BSTR Name() const noexcept { return name_.get(); }
    BSTR Description() const noexcept { return description_.get(); }

private:
    UniqueBstr progId_;
    UniqueBstr name_;
    UniqueBstr description_;
};

}  // namespace vistrel
