#include "server/registry_script/script_interpreter.h"

#include <new>
#include <string>

#include "base/status.h"
#include "server/registry_script/registry_value.h"
#include "server/registry_script/replacement_pass.h"
#include "server/registry_script/script_names.h"
#include "server/registry_script/script_tokenizer.h"

namespace vistrel {
namespace {

bool BeginsWith(std::u16string_view token, char16_t c) noexcept {
    return !token.empty() && token.front() == c;
}

// The flags that may stand before a key's or a value's name.
struct EntryMarks {
    bool forceRemove = false;
    bool deleteKey = false;
    bool noRemove = false;
};

class ScriptWalker {
public:
    ScriptWalker(std::u16string_view text, RegistryAccess& registry) noexcept
        : tokens_(text), registry_(registry) {}

    ScriptStatus Run(ScriptDirection direction) {
        while (!tokens_.AtEnd()) {
            RETURN_IF_FAILED(Advance());
            const auto root = FindRootKey(token_);
            if (!root) return kScriptSyntaxError;
            RETURN_IF_FAILED(Advance());
            if (!BeginsWith(token_, u'{')) return kScriptSyntaxError;
            const std::size_t blockStart = tokens_.Position();
            const RegistryKey rootKey = registry_.Root(*root);
            RETURN_IF_FAILED(Advance());
            if (direction == ScriptDirection::Unregister) {
                RETURN_IF_FAILED(WalkBlock(rootKey, false, 0));
                continue;
            }
            const ScriptStatus status = RegisterBlockOrOutOfMemory(rootKey);
            if (ScriptFailed(status)) {
                tokens_.Rewind(blockStart);
                if (!ScriptFailed(Advance())) WalkBlock(rootKey, false, 0);
                return status;
            }
        }
        return kScriptSucceeded;
    }

private:
    ScriptStatus Advance() { return tokens_.Next(token_); }

    // Memory that runs out in the middle of a block is a failed walk like any other, so that
    // what the block wrote before is taken away.
    ScriptStatus RegisterBlockOrOutOfMemory(RegistryKey rootKey) {
        try {
            return RegisterBlock(rootKey, 0);
        } catch (const std::bad_alloc&) {
            return kScriptOutOfMemory;
        }
    }

    // Reads the optional ForceRemove or Delete and NoRemove; leaves the name as the token.
    ScriptStatus ReadMarks(EntryMarks& marks) {
        if (NamesEqual(token_, kForceRemoveKeyword)) {
            marks.forceRemove = true;
            RETURN_IF_FAILED(Advance());
        } else if (NamesEqual(token_, kDeleteKeyword)) {
            marks.deleteKey = true;
            RETURN_IF_FAILED(Advance());
        }
        if (NamesEqual(token_, kNoRemoveKeyword)) {
            marks.noRemove = true;
            RETURN_IF_FAILED(Advance());
        }
        return kScriptSucceeded;
    }

    bool IsValueEntry(const EntryMarks& marks) const noexcept {
        return !marks.forceRemove && !marks.deleteKey && NamesEqual(token_, kValueKeyword);
    }

    // "Val name = type value": reads all of it and the token after it.
    ScriptStatus ReadValueEntry(std::u16string& name, std::u16string& type, std::u16string& text) {
        RETURN_IF_FAILED(Advance());
        name = token_;
        RETURN_IF_FAILED(Advance());
        if (token_ != u"=") return kScriptSyntaxError;
        RETURN_IF_FAILED(Advance());
        type = token_;
        RETURN_IF_FAILED(Advance());
        text = token_;
        return kScriptSucceeded;
    }

    // After a key's name: an optional "= type value", read into type and text.
    ScriptStatus ReadAssignment(bool& present, std::u16string& type, std::u16string& text) {
        present = token_ == u"=";
        if (!present) return kScriptSucceeded;
        RETURN_IF_FAILED(Advance());
        type = token_;
        if (!IsValueTypeLetter(type)) return kScriptSyntaxError;
        RETURN_IF_FAILED(Advance());
        text = token_;
        return Advance();
    }

    ScriptStatus ReadKeyName(std::u16string& name) {
        if (token_.find(u'\\') != std::u16string::npos) return kScriptSyntaxError;
        name = token_;
        return Advance();
    }

    ScriptStatus WriteValue(RegistryKey key, std::u16string_view name, std::u16string_view type,
                            std::u16string_view text) {
        RegistryValue value;
        try {
            RETURN_IF_FAILED(MakeRegistryValue(type, text, value));
        } catch (const std::bad_alloc&) {
            return value.type == RegistryValueType::Binary ? kScriptFailed : kScriptOutOfMemory;
        }
        return HresultFromWin32(registry_.SetValue(key, name, value.type, value.data));
    }

    // Skips a sub-block without touching the registry; the token is its `{` on entry and the
    // one after its closing `}` on return.
    ScriptStatus SkipBlock(int depth) {
        if (depth >= kMaxBlockDepth) return kScriptSyntaxError;
        RETURN_IF_FAILED(Advance());
        while (!BeginsWith(token_, u'}')) {
            if (token_ == u"{") {
                RETURN_IF_FAILED(SkipBlock(depth + 1));
            } else {
                RETURN_IF_FAILED(Advance());
            }
        }
        return Advance();
    }

    // The key and everything below it, depth first; the first failure stops it.
    RegistryError DeleteKeyWithSubkeys(RegistryKey parent, std::u16string_view name) {
        RegistryKey handle = 0;
        if (const RegistryError error = registry_.Open(parent, name, KeyAccess::ReadWrite, handle))
            return error;
        OpenRegistryKey key(registry_, handle);
        std::u16string subkey;
        while (registry_.EnumerateFirstSubkey(key.get(), subkey) == kRegistrySucceeded) {
            if (const RegistryError error = DeleteKeyWithSubkeys(key.get(), subkey)) return error;
        }
        key.Close();
        return registry_.DeleteKey(parent, name);
    }

    RegistryError OpenOrCreate(RegistryKey parent, std::u16string_view name, RegistryKey& handle) {
        if (registry_.Open(parent, name, KeyAccess::ReadWrite, handle) == kRegistrySucceeded)
            return kRegistrySucceeded;
        if (registry_.Open(parent, name, KeyAccess::ReadOnly, handle) == kRegistrySucceeded)
            return kRegistrySucceeded;
        return registry_.Create(parent, name, handle);
    }

    // The entries of one block, with the token at its first entry; returns at its closing `}`.
    ScriptStatus RegisterBlock(RegistryKey parent, int depth) {
        if (depth >= kMaxBlockDepth) return kScriptSyntaxError;
        while (!BeginsWith(token_, u'}')) {
            EntryMarks marks;
            RETURN_IF_FAILED(ReadMarks(marks));
            if (IsValueEntry(marks)) {
                std::u16string name, type, text;
                RETURN_IF_FAILED(ReadValueEntry(name, type, text));
                RETURN_IF_FAILED(WriteValue(parent, name, type, text));
                RETURN_IF_FAILED(Advance());
                continue;
            }
            std::u16string name, type, text;
            bool assigned = false;
            RETURN_IF_FAILED(ReadKeyName(name));
            RETURN_IF_FAILED(ReadAssignment(assigned, type, text));
            const bool removable = !IsProtectedKeyName(name);
            if (marks.deleteKey) {
                if (removable) DeleteKeyWithSubkeys(parent, name);
                if (token_ == u"{") RETURN_IF_FAILED(SkipBlock(depth + 1));
                continue;
            }
            if (marks.forceRemove && removable) DeleteKeyWithSubkeys(parent, name);
            RegistryKey handle = 0;
            if (const RegistryError error = OpenOrCreate(parent, name, handle))
                return HresultFromWin32(error);
            OpenRegistryKey key(registry_, handle);
            if (assigned) RETURN_IF_FAILED(WriteValue(key.get(), u"", type, text));
            if (token_ == u"{") {
                RETURN_IF_FAILED(Advance());
                RETURN_IF_FAILED(RegisterBlock(key.get(), depth + 1));
                RETURN_IF_FAILED(Advance());
            }
        }
        return kScriptSucceeded;
    }

    // The unregister walk of one block. In recovery mode every key counts as absent and nothing
    // is deleted; the walk only keeps its place in the text.
    ScriptStatus WalkBlock(RegistryKey parent, bool recovery, int depth) {
        if (depth >= kMaxBlockDepth) return kScriptSyntaxError;
        while (!BeginsWith(token_, u'}')) {
            EntryMarks marks;
            RETURN_IF_FAILED(ReadMarks(marks));
            if (IsValueEntry(marks)) {
                std::u16string name, type, text;
                RETURN_IF_FAILED(ReadValueEntry(name, type, text));
                if (!IsValueTypeLetter(type)) return kScriptSyntaxError;
                if (!marks.noRemove && !recovery) RETURN_IF_FAILED(DeleteValue(parent, name));
                RETURN_IF_FAILED(Advance());
                continue;
            }
            std::u16string name, type, text;
            bool assigned = false;
            RETURN_IF_FAILED(ReadKeyName(name));
            RETURN_IF_FAILED(ReadAssignment(assigned, type, text));

            bool entryRecovery = recovery;
            RegistryError openError = kRegistrySucceeded;
            RegistryKey handle = 0;
            if (!recovery) {
                openError = registry_.Open(parent, name, KeyAccess::ReadOnly, handle);
                if (openError != kRegistrySucceeded) {
                    handle = 0;
                    entryRecovery = true;
                }
            }
            OpenRegistryKey key(registry_, handle);
            if (token_ == u"{") {
                RETURN_IF_FAILED(Advance());
                // In recovery mode no registry call is made, so a failure there is one of the
                // text's, and the walk cannot go on from the middle of a block.
                RETURN_IF_FAILED(WalkBlock(key.get(), entryRecovery, depth + 1));
                RETURN_IF_FAILED(Advance());
            }
            if (key.get() == 0) {
                if (openError != kRegistrySucceeded && openError != kRegistryFileNotFound) {
                    return HresultFromWin32(openError);
                }
                continue;
            }
            if (const RegistryError error = key.Close()) return HresultFromWin32(error);
            if (!marks.noRemove) {
                if (const RegistryError error = registry_.DeleteKey(parent, name))
                    return HresultFromWin32(error);
            }
        }
        return kScriptSucceeded;
    }

    ScriptStatus DeleteValue(RegistryKey parent, std::u16string_view name) {
        RegistryKey handle = 0;
        if (const RegistryError error = registry_.Open(parent, u"", KeyAccess::ReadWrite, handle)) {
            return HresultFromWin32(error);
        }
        OpenRegistryKey key(registry_, handle);
        const RegistryError error = registry_.DeleteValue(key.get(), name);
        if (error != kRegistrySucceeded && error != kRegistryFileNotFound)
            return HresultFromWin32(error);
        return kScriptSucceeded;
    }

    ScriptTokenizer tokens_;
    RegistryAccess& registry_;
    std::u16string token_;
};

}  // namespace

ScriptStatus InterpretRegistryScript(std::u16string_view script, const ReplacementMap& replacements,
                                     ScriptDirection direction, RegistryAccess& registry) noexcept {
    try {
        std::u16string text;
        RETURN_IF_FAILED(ReplaceNames(script, replacements, text));
        return ScriptWalker(text, registry).Run(direction);
    } catch (const std::bad_alloc&) {
        return kScriptOutOfMemory;
    } catch (...) {
        return kScriptFailed;
    }
}

}  // namespace vistrel
