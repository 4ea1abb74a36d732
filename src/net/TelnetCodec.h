#pragma once

#include <QByteArray>
#include <functional>

// The receive side of a telnet client without a socket: removes the telnet commands from the
// byte stream, answers the server's option negotiation by a fixed policy and hands the
// remaining data on in chunks. The receive state lasts across feeds, so a command split
// between two reads is completed by the second.
class TelnetCodec {
public:
    // Telnet commands.
    static constexpr unsigned char IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251,
                                   SB = 250, SE = 240, EOR = 239;
    // Options and the TERMINAL-TYPE subcommands.
    static constexpr unsigned char OptBinary = 0, OptEcho = 1, OptSuppressGoAhead = 3,
                                   OptSendLocation = 23, OptTerminalType = 24,
                                   OptEndOfRecord = 25;
    static constexpr unsigned char TermTypeIs = 0, TermTypeSend = 1;
    // The data buffer is handed on once it holds more than this many bytes.
    static constexpr int DataBufferSize = 2048;
    // Only the first two bytes of a subnegotiation matter; this bounds what an endless one
    // can take.
    static constexpr int MaxSubnegotiation = 2048;

    std::function<void(const QByteArray&)> onData; // a data chunk, telnet commands removed
    std::function<void(const QByteArray&)> onSend; // bytes for the socket (negotiation replies)
    std::function<void()> onEndOfRecord, onSendLoc, onTermType, onLocalEcho;

    // Runs every byte through the state machine, then hands on what data is left.
    void feed(const char* bytes, int count);
    void feed(const QByteArray& bytes) { feed(bytes.constData(), int(bytes.size())); }
    // Fresh receive state and negotiation flags, as for a new connection.
    void reset();

    // Doubles every byte 255, so data sent never turns into a telnet command.
    static QByteArray EscapeIac(const QByteArray& data);

    QByteArray Location = "TNCNX";
    QByteArray TermType = "VT100";
    bool LocalEcho = false;

    // What was agreed with the server; it changes nothing else.
    bool binary() const { return binary_; }
    bool suppressGoAhead() const { return suppressGoAhead_; }
    bool termTypeAgreed() const { return termTypeAgreed_; }

private:
    void receive(unsigned char b);
    void negotiate(unsigned char verb, unsigned char option);
    void subnegotiate();
    void addData(char b);
    void flush();
    void reply(unsigned char verb, unsigned char option);
    void sendSubnegotiation(unsigned char option, const QByteArray& body);
    void send(const QByteArray& bytes);

    bool afterIac_ = false;
    unsigned char pendingVerb_ = 0;
    bool inSubnegotiation_ = false;
    QByteArray subnegotiation_;
    QByteArray data_;

    bool binary_ = false;
    bool suppressGoAhead_ = false;
    bool termTypeAgreed_ = false;

    // Bumped by reset(): a feed whose callback started a new connection drops the rest of
    // the old connection's bytes.
    quint64 generation_ = 0;
};
