// A theme's description file, read into the board description.
#include "FuzzSupport.h"
#include "board/BoardTheme.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzWriteFile(QStringLiteral("theme.ini"), data, size);
    TBoardDescription description;
    QString error;
    LoadBoardDescription(path, description, &error);
    return 0;
}
