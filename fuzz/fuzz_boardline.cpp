// The board line parser: any text either parses into a consistent position or is refused.
#include "FuzzSupport.h"
#include "model/Positions.h"
#include "model/TPositions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TPositions position;
    QString error;
    ParseBoardLine(QString::fromLatin1(FuzzBytes(data, size)), position, &error);
    return 0;
}
