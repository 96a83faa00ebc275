#pragma once

#include "ui/toolkit/modal_host.h"
#include "ui/toolkit/window.h"

#include <functional>
#include <string>

namespace permora::bench {

// A modal host that answers every question with Yes, every message with OK and every file
// dialog with a set path, so the window operations run without a user.
class BenchHost : public tk::ModalHost {
public:
    BenchHost() { previous_ = tk::SetHost(this); }
    ~BenchHost() override { tk::SetHost(previous_); }
    BenchHost(const BenchHost&) = delete;
    BenchHost& operator=(const BenchHost&) = delete;

    std::string path;
    int messages = 0;

    int RunModal(tk::Modal& modal) override {
        modal.Start();
        modal.EndModal(tk::IDCANCEL);
        return modal.Result();
    }
    int MessageBox(const tk::Window*, std::string_view, std::string_view, unsigned type,
                   std::string_view) override {
        ++messages;
        return type == tk::MB_OK ? tk::IDOK : tk::IDYES;
    }
    tk::FileDialogResult FileDialog(const tk::FileDialogRequest&) override {
        return {tk::IDOK, path};
    }

private:
    tk::ModalHost* previous_ = nullptr;
};

} // namespace permora::bench
