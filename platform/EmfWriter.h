#pragma once
// Writes a recording as Enhanced Metafile bytes: a header with the
// creator comment, the pen, brush and font objects each call needs, the
// calls themselves, and the end record. Coordinates are pixels of a 96 dpi
// reference device.

#include "platform/MetafileRecord.h"

#include <string>
#include <vector>

struct TEmfPicture {
    int Width = 0;
    int Height = 0;
    std::string CreatedBy;
    std::string Description;
    const std::vector<TMetafileRecord>& Records;
};

std::string WriteEmf(const TEmfPicture& Picture);
