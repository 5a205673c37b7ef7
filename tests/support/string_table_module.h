// A string-table module built beside the test program, loaded as a data file and made the module
// instance for the life of the object, as the library's own module is at load.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "platform/module_instance.h"
#include "platform/unique_resource.h"
#include "tests/support/module_path.h"

namespace vistrel::test {

class StringTableModule {
public:
    explicit StringTableModule(const wchar_t* fileName)
        : module_(LoadLibraryExW(PathBesideProgram(fileName).c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE)),
          previous_(ModuleInstance()) {
        EXPECT_TRUE(module_) << "cannot load the string-table module, error " << GetLastError();
        SetModuleInstance(module_.get());
    }
    StringTableModule(const StringTableModule&) = delete;
    StringTableModule& operator=(const StringTableModule&) = delete;
    ~StringTableModule() { SetModuleInstance(previous_); }

    explicit operator bool() const noexcept { return static_cast<bool>(module_); }

private:
    UniqueHmodule module_;
    HINSTANCE previous_;
};

}  // namespace vistrel::test
