// The print choices of one program run: which articles, in which order, which parts of each article,
// how many copies, and the printer of the last print dialog. The application holds one object; its
// choices are kept between print commands and never written to the option store. Opening a data file
// takes Include Dates and Include Keywords from the file's page layout.
//
// The printer handles are opaque here (an HDC and two HGLOBALs on Windows) so that the object stays
// portable: the print dialogs fill them, the print run uses them.
#pragma once
#include <cstdint>

class CPrintOptions {
public:
    // Sort orders and ranges as the print dialog offers them.
    enum SortOrder { kTitlesAscending = 0, kTitlesDescending = 1, kDatesAscending = 2, kDatesDescending = 3 };
    enum Range { kAllArticles = 0, kBookmarked = 1, kListed = 2, kCurrentArticle = 3, kHighlighted = 4 };

    CPrintOptions() = default;
    // Frees the device-names and device-mode handles when set.
    virtual ~CPrintOptions();
    CPrintOptions(const CPrintOptions&) = delete;
    CPrintOptions& operator=(const CPrintOptions&) = delete;

    // The printer device context of the running print; not owned (the print command deletes it).
    void* GetPrinterDC() const { return m_printerDC; }
    void SetPrinterDC(void* dc) { m_printerDC = dc; }
    // DEVNAMES and DEVMODE of the chosen printer, as global memory handles. The setters take over
    // the handles a print dialog returned; the previous ones are not freed, because the dialog got
    // them as input and either kept them or freed them itself.
    void* GetDeviceNames() const { return m_deviceNames; }
    void SetDeviceNames(void* handle) { m_deviceNames = handle; }
    void* GetDeviceMode() const { return m_deviceMode; }
    void SetDeviceMode(void* handle) { m_deviceMode = handle; }

    int32_t GetCopies() const { return m_copies; }
    void SetCopies(int32_t copies) { m_copies = copies; }
    int32_t GetSortOrder() const { return m_sortOrder; }
    void SetSortOrder(int32_t order) { m_sortOrder = order; }
    int32_t GetRange() const { return m_range; }
    void SetRange(int32_t range) { m_range = range; }

    bool GetIncludeTitles() const { return m_includeTitles; }
    void SetIncludeTitles(bool on) { m_includeTitles = on; }
    bool GetIncludeContent() const { return m_includeContent; }
    void SetIncludeContent(bool on) { m_includeContent = on; }
    bool GetIncludeKeywords() const { return m_includeKeywords; }
    void SetIncludeKeywords(bool on) { m_includeKeywords = on; }
    bool GetIncludeAttachments() const { return m_includeAttachments; }
    void SetIncludeAttachments(bool on) { m_includeAttachments = on; }
    bool GetIncludeDates() const { return m_includeDates; }
    void SetIncludeDates(bool on) { m_includeDates = on; }
    bool GetNumberTitlesList() const { return m_numberTitlesList; }
    void SetNumberTitlesList(bool on) { m_numberTitlesList = on; }

    // Titles and nothing else of each article.
    bool IsTitlesOnly() const;
    // Numbering applies only to a list of titles alone.
    bool IsNumbered() const { return IsTitlesOnly() && m_numberTitlesList; }

private:
    void* m_printerDC = nullptr;
    void* m_deviceNames = nullptr;
    void* m_deviceMode = nullptr;
    int32_t m_copies = 1;
    int32_t m_sortOrder = kTitlesAscending;
    int32_t m_range = kAllArticles;
    bool m_includeTitles = true;
    bool m_includeContent = true;
    bool m_includeKeywords = true;
    bool m_includeAttachments = true;
    bool m_includeDates = true;
    bool m_numberTitlesList = false;
};

// Frees a global memory handle of the print dialogs (the platform half: print_options_win.cpp,
// print_options_posix.cpp, where no such handles exist).
void FreePrintHandle(void* handle);
