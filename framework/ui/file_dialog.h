// The system's Open and Save As dialogs, data in and data out: set the fields, run DoModal, read
// m_fileName (and m_files for several files) after IDOK.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

class CFileDialog {
public:
    explicit CFileDialog(bool open, HWND owner = nullptr) : m_open(open), m_owner(owner) {}

    // IDOK when the user chose, IDCANCEL when cancelled or when the dialog failed
    // (CommDlgExtendedError then says why; FNERR_BUFFERTOOSMALL: too many files chosen).
    INT_PTR DoModal();

    std::string m_title;
    // Pairs of description and pattern separated by '|': "Text files|*.txt|All files|*.*".
    std::string m_filter;
    int m_filterIndex = 1;
    // Added to a typed name without extension.
    std::string m_defaultExt;
    std::string m_initialDir;
    // In: the proposed name; out: the chosen path (with several files: the first).
    std::string m_fileName;
    // Out, with OFN_ALLOWMULTISELECT: every chosen path.
    std::vector<std::string> m_files;
    // Added to OFN_EXPLORER | OFN_HIDEREADONLY | OFN_NOCHANGEDIR.
    DWORD m_flags = 0;
    // In: show the Open dialog's read-only check box (OFN_HIDEREADONLY is then left out); out: the
    // box was ticked.
    bool m_showReadOnly = false;
    bool m_readOnly = false;
    // Characters for the names chosen, all together.
    size_t m_bufferSize = 32768;

private:
    bool m_open;
    HWND m_owner;
};
