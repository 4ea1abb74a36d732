// Arbitrary server bytes through the telnet state machine, cut into reads at input-chosen places.
#include "FuzzSupport.h"
#include "net/TelnetCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    TelnetCodec codec;
    qsizetype delivered = 0;
    codec.onData = [&](const QByteArray& chunk) { delivered += chunk.size(); };
    codec.onSend = [](const QByteArray&) {};
    const size_t cut = data[0];
    const uint8_t* bytes = data + 1;
    const size_t count = size - 1;
    for (size_t at = 0; at < count;) {
        const size_t piece = cut == 0 ? count : std::min(count - at, cut);
        codec.feed(reinterpret_cast<const char*>(bytes + at), int(piece));
        at += piece;
        if (cut == 7)
            codec.reset();
    }
    if (delivered > qsizetype(count))
        __builtin_trap(); // the codec only ever removes bytes
    return 0;
}
