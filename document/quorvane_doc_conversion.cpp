// Opening a data file of an older format: converted (after a backup if the user chooses) or opened
// read-only.
#include "document/data_file_converter.h"
#include "document/doc_errors.h"
#include "document/doc_host.h"
#include "document/quorvane_doc.h"
#include "framework/string_table.h"

namespace {
constexpr int kConversionBackupMessageId = 5212;
constexpr int kConversionFailedMessageId = 8110;

// The answers of the "Convert File" dialog.
enum ConversionChoice { kConvert = 0, kBackUpThenConvert = 1, kOpenReadOnly = 2 };
}  // namespace

bool CQuorvaneDoc::ConvertOldFile(const std::string& path, bool& readOnly)
{
    bool mayOpen = false;
    ReportErrors([&] {
        int choice = m_host.ChooseConversion(path);
        if (choice == kOpenReadOnly) {
            readOnly = true;
            mayOpen = true;
            return;
        }
        if (choice != kConvert && choice != kBackUpThenConvert)
            return;
        if (!m_converter) {
            m_host.Inform(QuorFormat1(QuorLoadString(kConversionFailedMessageId), path), CDocHost::kExclamation);
            return;
        }
        if (choice == kConvert) {
            std::string backup = m_converter->Convert(path, true);
            mayOpen = true;
            m_host.Inform(QuorFormat1(QuorLoadString(kConversionBackupMessageId), backup), CDocHost::kInformation);
        } else if (BackUpFile(path)) {
            // The user's own backup replaces the converter's.
            m_converter->Convert(path, false);
            mayOpen = true;
        }
    });
    m_host.RepaintMainWindow();
    return mayOpen;
}
