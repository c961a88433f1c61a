#include "image/ImageCdText.h"

#include "image/CdTextFile.h"
#include "image/DataFilePath.h"
#include "image/SheetCdText.h"

namespace cueify {

ImageCdText::ImageCdText(const CueSheet& sheet, const std::filesystem::path& sheetFolder)
{
    if (sheet.cdTextFile.empty()) {
        m_fromSheet = cdTextOfSheet(sheet);
    } else {
        m_file = dataFilePath(sheetFolder, sheet.cdTextFile);
        m_fileName = sheet.cdTextFile;
    }
}

CdTextData ImageCdText::read() const
{
    return m_file ? readCdTextFile(*m_file, m_fileName) : m_fromSheet;
}

} // namespace cueify
