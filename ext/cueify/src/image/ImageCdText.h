// Where an image's CD-Text comes from: the CDTEXTFILE the sheet names, read when asked for so
// that a missing file does not keep the image from opening, or else the sheet's CD-Text lines.
#pragma once

#include "core/CdTextData.h"
#include "image/CueSheet.h"

#include <filesystem>
#include <optional>
#include <string>

namespace cueify {

class ImageCdText
{
public:
    ImageCdText() = default;
    ImageCdText(const CueSheet& sheet, const std::filesystem::path& sheetFolder);

    // Throws Failure as readCdTextFile does.
    CdTextData read() const;

private:
    CdTextData m_fromSheet;
    std::optional<std::filesystem::path> m_file;
    std::string m_fileName; // as the sheet writes it
};

} // namespace cueify
