// tabulon.ini as the user or a crash may have left it, read the way start-up reads it.
#include "FuzzSupport.h"
#include "app/SettingsFile.h"
#include "app/SettingsStore.h"
#include "model/TSettings.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = FuzzWriteFile(QStringLiteral("tabulon.ini"), data, size);
    SettingsFile file(path);
    TSettings settings;
    TWindowSettings window;
    ReadSettings(file, FuzzScratchFolder() + QLatin1Char('/'), settings, window);
    return 0;
}
