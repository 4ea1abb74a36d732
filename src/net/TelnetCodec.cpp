#include "net/TelnetCodec.h"

#include <utility>

void TelnetCodec::feed(const char* bytes, int count)
{
    const quint64 generation = generation_;
    for (int i = 0; i < count && generation == generation_; ++i)
        receive(static_cast<unsigned char>(bytes[i]));
    flush();
}

void TelnetCodec::reset()
{
    afterIac_ = false;
    pendingVerb_ = 0;
    inSubnegotiation_ = false;
    subnegotiation_.clear();
    data_.clear();
    binary_ = false;
    suppressGoAhead_ = false;
    termTypeAgreed_ = false;
    ++generation_;
}

QByteArray TelnetCodec::EscapeIac(const QByteArray& data)
{
    QByteArray escaped;
    escaped.reserve(data.size() + data.count(char(IAC)));
    for (char c : data) {
        escaped.append(c);
        if (static_cast<unsigned char>(c) == IAC)
            escaped.append(c);
    }
    return escaped;
}

void TelnetCodec::receive(unsigned char b)
{
    if (pendingVerb_ != 0) {
        const unsigned char verb = pendingVerb_;
        pendingVerb_ = 0;
        subnegotiation_.clear();
        negotiate(verb, b);
        return;
    }
    if (inSubnegotiation_) {
        if (b == SE) {
            inSubnegotiation_ = false;
            subnegotiate();
            subnegotiation_.clear();
        } else if (subnegotiation_.size() < MaxSubnegotiation) {
            // The IAC of the closing IAC SE lands here too; nothing reads past byte two.
            subnegotiation_.append(char(b));
        }
        return;
    }
    if (!afterIac_) {
        if (b == IAC)
            afterIac_ = true;
        else
            addData(char(b));
        return;
    }
    afterIac_ = false;
    switch (b) {
    case EOR:
        if (onEndOfRecord)
            onEndOfRecord();
        break;
    case SB:
        inSubnegotiation_ = true;
        break;
    case WILL:
    case WONT:
    case DO:
    case DONT:
        pendingVerb_ = b;
        break;
    case IAC:
        addData(char(IAC));
        break;
    default:
        // NOP, DM, BRK, IP, AO, AYT, EC, EL, GA, a stray SE or a byte with no telnet meaning.
        break;
    }
}

void TelnetCodec::negotiate(unsigned char verb, unsigned char option)
{
    switch (option) {
    case OptBinary:
        if (verb == WILL) {
            reply(DO, option);
            binary_ = true;
        } else if (verb == WONT && binary_) {
            binary_ = false;
        }
        break;
    case OptEcho:
        if (verb == WILL) {
            reply(DO, option);
            LocalEcho = false;
        } else if (verb == WONT) {
            LocalEcho = true;
        }
        if (onLocalEcho)
            onLocalEcho();
        break;
    case OptSuppressGoAhead:
        if (verb == WILL) {
            reply(DO, option);
            suppressGoAhead_ = true;
        }
        break;
    case OptSendLocation:
        if (verb == DO) {
            reply(WILL, option);
            if (onSendLoc)
                onSendLoc();
            sendSubnegotiation(option, Location);
        }
        break;
    case OptTerminalType:
    case OptEndOfRecord:
        if (verb == DO) {
            reply(WILL, option);
            termTypeAgreed_ = true;
        }
        break;
    default:
        reply(verb == WILL ? DONT : WONT, option);
        break;
    }
}

void TelnetCodec::subnegotiate()
{
    if (subnegotiation_.size() >= 2
        && static_cast<unsigned char>(subnegotiation_[0]) == OptTerminalType
        && static_cast<unsigned char>(subnegotiation_[1]) == TermTypeSend) {
        if (onTermType)
            onTermType();
        sendSubnegotiation(OptTerminalType, char(TermTypeIs) + TermType);
    }
}

void TelnetCodec::addData(char b)
{
    data_.append(b);
    if (data_.size() > DataBufferSize)
        flush();
}

void TelnetCodec::flush()
{
    if (data_.isEmpty())
        return;
    const QByteArray chunk = std::exchange(data_, QByteArray());
    if (onData)
        onData(chunk);
}

void TelnetCodec::reply(unsigned char verb, unsigned char option)
{
    const char bytes[] = {char(IAC), char(verb), char(option)};
    send(QByteArray(bytes, sizeof bytes));
}

void TelnetCodec::sendSubnegotiation(unsigned char option, const QByteArray& body)
{
    QByteArray bytes;
    bytes.append(char(IAC)).append(char(SB)).append(char(option));
    bytes.append(EscapeIac(body));
    bytes.append(char(IAC)).append(char(SE));
    send(bytes);
}

void TelnetCodec::send(const QByteArray& bytes)
{
    if (onSend)
        onSend(bytes);
}
