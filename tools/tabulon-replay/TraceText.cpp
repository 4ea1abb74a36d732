#include "TraceText.h"

QByteArray EscapeTrace(const QByteArray& bytes)
{
    QByteArray out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b == '\r')
            out += "\\r";
        else if (b == '\n')
            out += "\\n";
        else if (b == '\\')
            out += "\\\\";
        else if (b < 0x20 || b >= 0x7f)
            out += "\\x" + QByteArray::number(b, 16).rightJustified(2, '0');
        else
            out += c;
    }
    return out;
}

QByteArray UnescapeTrace(const QByteArray& text)
{
    QByteArray out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text.at(i);
        if (c != '\\' || i + 1 >= text.size()) {
            out += c;
            continue;
        }
        const char e = text.at(++i);
        if (e == 'r')
            out += '\r';
        else if (e == 'n')
            out += '\n';
        else if (e == 'x' && i + 2 < text.size()) {
            bool ok = false;
            const int value = text.mid(i + 1, 2).toInt(&ok, 16);
            if (ok) {
                out += char(value);
                i += 2;
            } else {
                out += e;
            }
        } else {
            out += e;
        }
    }
    return out;
}
