#pragma once

#include "model/ace.h"
#include "ui/entryeditorpage.h"

#include <cstdint>
#include <memory>
#include <string>

// The editor of one permission entry: an Allow and a Deny column, which exclude each
// other right by right. Both working entries carry the same account and flags.
class ObjectPermPropPage : public EntryEditorPage {
public:
    // A new entry for an account: both working entries empty, applying to this folder,
    // subfolders and files.
    ObjectPermPropPage(const std::string& account, int level);
    // An existing entry: the working entry of its kind copies it; the entry is only read.
    ObjectPermPropPage(const permora::Ace& entry, int level);
    ~ObjectPermPropPage() override;

    std::unique_ptr<permora::Ace>& Entry(int column) override {
        return column == 0 ? AllowAce : DenyAce;
    }

    std::unique_ptr<permora::Ace> AllowAce;
    std::unique_ptr<permora::Ace> DenyAce;

protected:
    std::string ShownAccount() override;
    int ShownCode() override;
};
