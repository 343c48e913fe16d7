// A file dialog run on a GUI thread of its own whose main window is a shown frame, so that the dialog
// has the owner it would have in the program; the test finds it by its title, types a name, reads
// its folder and collects what the code under test gave back.
#pragma once
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <functional>
#include <memory>
#include <string>

#include "framework/ui/app.h"
#include "tests/support/gui_driver.h"
#include "tests/support/test_main_frame.h"

class CRunningFileDialog {
public:
    // `run` shows the dialog (titled `title`) owned by the window it is given and returns the chosen
    // path, or empty.
    CRunningFileDialog(const std::string& title, std::function<std::string(HWND owner)> run)
    {
        m_ui = std::make_unique<gui::CGuiThread>([this, run] {
            CTestMainFrame frame(m_app, "File dialog owner");
            if (!frame.Handle())
                return;
            m_frame = frame.Handle();
            m_chosen = run(m_frame);
        });
        window = gui::WaitForTopWindow(title.c_str());
    }
    // Types `name` into the file name box and presses Save (or Open).
    bool Choose(const std::string& name)
    {
        // Newer dialogs hold the name in a combo box, older ones in an edit.
        HWND box = ::GetDlgItem(window, cmb13);
        if (!box)
            box = ::GetDlgItem(window, edt1);
        return gui::SetText(box, name) && gui::ClickButton(window, IDOK);
    }
    // Types the name of an existing file and answers No when asked whether to replace it: true when
    // the question came, owned by the dialog, and went, leaving the dialog open.
    bool ChooseAndKeepExisting(const std::string& name)
    {
        if (!Choose(name))
            return false;
        HWND box = gui::WaitForMessageBox("");
        if (!box || ::GetWindow(box, GW_OWNER) != window)
            return false;
        return gui::ClickButton(box, IDNO) && gui::WaitFor([&] { return !::IsWindow(box); });
    }
    std::string Folder() const
    {
        char path[MAX_PATH] = {};
        ::SendMessageA(window, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        return path;
    }
    // What `run` gave back once the dialog closed; "(still open)" when it did not close.
    std::string End() { return m_ui->Join() ? m_chosen : "(still open)"; }

    HWND window = nullptr;
    HWND m_frame = nullptr;

private:
    CWinApp m_app;
    std::string m_chosen;
    std::unique_ptr<gui::CGuiThread> m_ui;
};
