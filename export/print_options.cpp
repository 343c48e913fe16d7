#include "export/print_options.h"

CPrintOptions::~CPrintOptions()
{
    if (m_deviceNames)
        FreePrintHandle(m_deviceNames);
    if (m_deviceMode)
        FreePrintHandle(m_deviceMode);
}

bool CPrintOptions::IsTitlesOnly() const
{
    return m_includeTitles && !m_includeContent && !m_includeKeywords && !m_includeAttachments && !m_includeDates;
}
