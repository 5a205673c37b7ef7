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

// One entry of a block as the text writes it: a value ("Val name = type value") or a key (its name
// and an optional "= type value" for its default value).
struct ScriptEntry {
    EntryMarks marks;
    bool isValue = false;
    bool assigned = false;  // a key with "= type value"
    std::u16string name;
    std::u16string type;
    std::u16string text;
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

    // "Val name = type value", from the keyword on; leaves the value's text as the token.
    ScriptStatus ReadValueEntry(ScriptEntry& entry) {
        RETURN_IF_FAILED(Advance());
        entry.name = token_;
        RETURN_IF_FAILED(Advance());
        if (token_ != u"=") return kScriptSyntaxError;
        RETURN_IF_FAILED(Advance());
        entry.type = token_;
        RETURN_IF_FAILED(Advance());
        entry.text = token_;
        return kScriptSucceeded;
    }

    // A key's name and its optional "= type value"; leaves the token after them, the key's `{`
    // or the next entry.
    ScriptStatus ReadKeyEntry(ScriptEntry& entry) {
        if (token_.find(u'\\') != std::u16string::npos) return kScriptSyntaxError;
        entry.name = token_;
        RETURN_IF_FAILED(Advance());
        entry.assigned = token_ == u"=";
        if (!entry.assigned) return kScriptSucceeded;
        RETURN_IF_FAILED(Advance());
        entry.type = token_;
        if (!IsValueTypeLetter(entry.type)) return kScriptSyntaxError;
        RETURN_IF_FAILED(Advance());
        entry.text = token_;
        return Advance();
    }

    // The one reader of an entry, for both walks: its marks, then a value or a key as above.
    ScriptStatus ReadEntry(ScriptEntry& entry) {
        RETURN_IF_FAILED(ReadMarks(entry.marks));
        entry.isValue = IsValueEntry(entry.marks);
        return entry.isValue ? ReadValueEntry(entry) : ReadKeyEntry(entry);
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
    ScriptStatus DeleteKeyWithSubkeys(RegistryKey parent, std::u16string_view name) {
        RegistryKey handle = 0;
        RETURN_IF_FAILED(
            HresultFromWin32(registry_.Open(parent, name, KeyAccess::ReadWrite, handle)));
        OpenRegistryKey key(registry_, handle);
        std::u16string subkey;
        while (!Win32Failed(registry_.EnumerateFirstSubkey(key.get(), subkey))) {
            RETURN_IF_FAILED(DeleteKeyWithSubkeys(key.get(), subkey));
        }
        key.Close();
        return HresultFromWin32(registry_.DeleteKey(parent, name));
    }

    ScriptStatus OpenOrCreate(RegistryKey parent, std::u16string_view name, RegistryKey& handle) {
        if (!Win32Failed(registry_.Open(parent, name, KeyAccess::ReadWrite, handle)))
            return kScriptSucceeded;
        if (!Win32Failed(registry_.Open(parent, name, KeyAccess::ReadOnly, handle)))
            return kScriptSucceeded;
        return HresultFromWin32(registry_.Create(parent, name, handle));
    }

    // The entries of one block, with the token at its first entry; returns at its closing `}`.
    ScriptStatus RegisterBlock(RegistryKey parent, int depth) {
        if (depth >= kMaxBlockDepth) return kScriptSyntaxError;
        while (!BeginsWith(token_, u'}')) {
            ScriptEntry entry;
            RETURN_IF_FAILED(ReadEntry(entry));
            if (entry.isValue) {
                RETURN_IF_FAILED(WriteValue(parent, entry.name, entry.type, entry.text));
                RETURN_IF_FAILED(Advance());
                continue;
            }
            const bool removable = !IsProtectedKeyName(entry.name);
            // A key that is not there, or cannot be taken away, is no failure of the script.
            if (entry.marks.deleteKey) {
                if (removable) DeleteKeyWithSubkeys(parent, entry.name);
                if (token_ == u"{") RETURN_IF_FAILED(SkipBlock(depth + 1));
                continue;
            }
            if (entry.marks.forceRemove && removable) DeleteKeyWithSubkeys(parent, entry.name);
            RegistryKey handle = 0;
            RETURN_IF_FAILED(OpenOrCreate(parent, entry.name, handle));
            OpenRegistryKey key(registry_, handle);
            if (entry.assigned)
                RETURN_IF_FAILED(WriteValue(key.get(), u"", entry.type, entry.text));
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
            ScriptEntry entry;
            RETURN_IF_FAILED(ReadEntry(entry));
            if (entry.isValue) {
                if (!IsValueTypeLetter(entry.type)) return kScriptSyntaxError;
                if (!entry.marks.noRemove && !recovery) {
                    RETURN_IF_FAILED(DeleteValue(parent, entry.name));
                }
                RETURN_IF_FAILED(Advance());
                continue;
            }

            bool entryRecovery = recovery;
            RegistryError openError = kRegistrySucceeded;
            RegistryKey handle = 0;
            if (!recovery) {
                openError = registry_.Open(parent, entry.name, KeyAccess::ReadOnly, handle);
                if (Win32Failed(openError)) {
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
                // A key that is not there is already unregistered.
                if (openError != kRegistryFileNotFound)
                    RETURN_IF_FAILED(HresultFromWin32(openError));
                continue;
            }
            RETURN_IF_FAILED(HresultFromWin32(key.Close()));
            if (!entry.marks.noRemove) {
                RETURN_IF_FAILED(HresultFromWin32(registry_.DeleteKey(parent, entry.name)));
            }
        }
        return kScriptSucceeded;
    }

    ScriptStatus DeleteValue(RegistryKey parent, std::u16string_view name) {
        RegistryKey handle = 0;
        RETURN_IF_FAILED(
            HresultFromWin32(registry_.Open(parent, u"", KeyAccess::ReadWrite, handle)));
        OpenRegistryKey key(registry_, handle);
        const RegistryError error = registry_.DeleteValue(key.get(), name);
        // A value that is not there is already unregistered.
        if (error != kRegistryFileNotFound) RETURN_IF_FAILED(HresultFromWin32(error));
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
