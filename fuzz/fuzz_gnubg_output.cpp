// The engine's output, line by line, through the hint and eval reader.
#include "FuzzSupport.h"
#include "analysis/GnubgParser.h"
#include "protocol/TextLog.h"

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzInitApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TextLog moves;
    TextLog cube;
    GnubgOutputParser parser(moves, cube);
    if (size > 0 && (data[0] & 1))
        parser.AnalysingSecondColumn = true;
    const QStringList lines = QString::fromLatin1(FuzzBytes(data, size)).split(QLatin1Char('\n'));
    for (const QString& line : lines)
        parser.ReceiveLine(line);
    return 0;
}
