#include "net/TelnetCodec.h"

#include <gtest/gtest.h>

#include <QList>
#include <initializer_list>

namespace {

constexpr int IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240,
              EOR = 239;

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(char(v));
    return out;
}

// A codec with every callback recorded.
struct Wire {
    TelnetCodec codec;
    QList<QByteArray> chunks;
    QByteArray data, sent;
    int endOfRecord = 0, sendLoc = 0, termType = 0, localEcho = 0;

    Wire()
    {
        codec.onData = [this](const QByteArray& chunk) {
            chunks.append(chunk);
            data += chunk;
        };
        codec.onSend = [this](const QByteArray& out) { sent += out; };
        codec.onEndOfRecord = [this] { ++endOfRecord; };
        codec.onSendLoc = [this] { ++sendLoc; };
        codec.onTermType = [this] { ++termType; };
        codec.onLocalEcho = [this] { ++localEcho; };
    }
    void feed(const QByteArray& in) { codec.feed(in); }
};

QByteArray sendLocation(const QByteArray& location)
{
    return bytes({IAC, WILL, 23}) + bytes({IAC, SB, 23}) + location + bytes({IAC, SE});
}

} // namespace

TEST(TelnetCodec, NegotiationTable)
{
    struct Case {
        int verb, option;
        bool binaryBefore, echoBefore;
        QByteArray reply;
        bool binary, suppressGoAhead, termType, echo;
        int echoEvents, sendLocEvents;
    };
    const QByteArray none;
    const Case cases[] = {
        // verb option binBefore echoBefore reply binary sga tt echo echoEv locEv
        {WILL, 0, false, false, bytes({IAC, DO, 0}), true, false, false, false, 0, 0},
        {WONT, 0, true, false, none, false, false, false, false, 0, 0},
        {WONT, 0, false, false, none, false, false, false, false, 0, 0},
        {DO, 0, true, false, none, true, false, false, false, 0, 0},
        {DONT, 0, true, false, none, true, false, false, false, 0, 0},
        {WILL, 1, false, true, bytes({IAC, DO, 1}), false, false, false, false, 1, 0},
        {WONT, 1, false, false, none, false, false, false, true, 1, 0},
        {DO, 1, false, true, none, false, false, false, true, 1, 0},
        {DO, 1, false, false, none, false, false, false, false, 1, 0},
        {DONT, 1, false, true, none, false, false, false, true, 1, 0},
        {WILL, 3, false, false, bytes({IAC, DO, 3}), false, true, false, false, 0, 0},
        {WONT, 3, false, false, none, false, false, false, false, 0, 0},
        {DO, 3, false, false, none, false, false, false, false, 0, 0},
        {DONT, 3, false, false, none, false, false, false, false, 0, 0},
        {DO, 23, false, false, sendLocation("TNCNX"), false, false, false, false, 0, 1},
        {WILL, 23, false, false, none, false, false, false, false, 0, 0},
        {WONT, 23, false, false, none, false, false, false, false, 0, 0},
        {DONT, 23, false, false, none, false, false, false, false, 0, 0},
        {DO, 24, false, false, bytes({IAC, WILL, 24}), false, false, true, false, 0, 0},
        {WILL, 24, false, false, none, false, false, false, false, 0, 0},
        {WONT, 24, false, false, none, false, false, false, false, 0, 0},
        {DONT, 24, false, false, none, false, false, false, false, 0, 0},
        {DO, 25, false, false, bytes({IAC, WILL, 25}), false, false, true, false, 0, 0},
        {WILL, 25, false, false, none, false, false, false, false, 0, 0},
        {WONT, 25, false, false, none, false, false, false, false, 0, 0},
        {DONT, 25, false, false, none, false, false, false, false, 0, 0},
        {WILL, 31, false, false, bytes({IAC, DONT, 31}), false, false, false, false, 0, 0},
        {WONT, 31, false, false, bytes({IAC, WONT, 31}), false, false, false, false, 0, 0},
        {DO, 31, false, false, bytes({IAC, WONT, 31}), false, false, false, false, 0, 0},
        {DONT, 31, false, false, bytes({IAC, WONT, 31}), false, false, false, false, 0, 0},
        {WILL, 2, false, false, bytes({IAC, DONT, 2}), false, false, false, false, 0, 0},
        {DO, 255, false, false, bytes({IAC, WONT, 255}), false, false, false, false, 0, 0},
        {WILL, 240, false, false, bytes({IAC, DONT, 240}), false, false, false, false, 0, 0},
    };
    for (const Case& c : cases) {
        Wire w;
        if (c.binaryBefore) {
            w.feed(bytes({IAC, WILL, 0}));
            w.sent.clear();
        }
        w.codec.LocalEcho = c.echoBefore;
        w.feed(bytes({IAC, c.verb, c.option}) + "z");
        const std::string label = std::to_string(c.verb) + " " + std::to_string(c.option);
        EXPECT_EQ(w.sent.toHex(' '), c.reply.toHex(' ')) << label;
        EXPECT_EQ(w.data, "z") << label;
        EXPECT_EQ(w.codec.binary(), c.binary) << label;
        EXPECT_EQ(w.codec.suppressGoAhead(), c.suppressGoAhead) << label;
        EXPECT_EQ(w.codec.termTypeAgreed(), c.termType) << label;
        EXPECT_EQ(w.codec.LocalEcho, c.echo) << label;
        EXPECT_EQ(w.localEcho, c.echoEvents) << label;
        EXPECT_EQ(w.sendLoc, c.sendLocEvents) << label;
        EXPECT_EQ(w.termType, 0) << label;
    }
}

TEST(TelnetCodec, SendLocationAsksBeforeSending)
{
    Wire w;
    QByteArray sentWhenAsked;
    w.codec.onSendLoc = [&] {
        sentWhenAsked = w.sent;
        w.codec.Location = "Here";
    };
    w.feed(bytes({IAC, DO, 23}));
    EXPECT_EQ(sentWhenAsked, bytes({IAC, WILL, 23}));
    EXPECT_EQ(w.sent, sendLocation("Here"));
}

TEST(TelnetCodec, TerminalTypeSendAnsweredWithIs)
{
    Wire w;
    QByteArray sentWhenAsked;
    w.codec.onTermType = [&] { sentWhenAsked = w.sent; };
    w.feed(bytes({IAC, DO, 24, IAC, SB, 24, 1, IAC, SE}) + "ok");
    EXPECT_EQ(w.sent.toHex(' '), bytes({IAC, WILL, 24, IAC, SB, 24, 0, 'V', 'T', '1', '0', '0',
                                        IAC, SE}).toHex(' '));
    EXPECT_EQ(sentWhenAsked, bytes({IAC, WILL, 24}));
    EXPECT_EQ(w.data, "ok");

    Wire other;
    other.codec.TermType = "ANSI";
    other.feed(bytes({IAC, SB, 24, 1, IAC, SE}));
    EXPECT_EQ(other.sent, bytes({IAC, SB, 24, 0, 'A', 'N', 'S', 'I', IAC, SE}));
    EXPECT_EQ(other.termType, 1);
}

TEST(TelnetCodec, OtherSubnegotiationsIgnored)
{
    const QByteArray cases[] = {
        bytes({IAC, SB, 24, 0, 'X', IAC, SE}),   // TERMINAL-TYPE IS
        bytes({IAC, SB, 31, 1, IAC, SE}),        // another option
        bytes({IAC, SB, 24, IAC, SE}),           // too short
        bytes({IAC, SB, IAC, SE}),               // empty
        bytes({IAC, SB, IAC, 24, 1, IAC, SE}),   // the IAC is part of the buffer
        bytes({IAC, SB, 24, IAC, 1, IAC, SE}),
        // Commands inside are collected, never acted on or taken as data.
        bytes({IAC, SB, 31, IAC, WILL, 1, IAC, IAC, 'x', IAC, EOR, IAC, SE}),
    };
    for (const QByteArray& c : cases) {
        Wire w;
        w.feed("a" + c + "b");
        EXPECT_EQ(w.data, "ab") << c.toHex(' ').constData();
        EXPECT_TRUE(w.sent.isEmpty()) << c.toHex(' ').constData();
        EXPECT_EQ(w.termType + w.localEcho + w.endOfRecord, 0) << c.toHex(' ').constData();
    }
}

TEST(TelnetCodec, EndlessSubnegotiationStillEnds)
{
    Wire w;
    w.feed(bytes({IAC, SB, 24, 1}) + QByteArray(100000, 'x') + bytes({IAC, SE}) + "ok");
    EXPECT_EQ(w.data, "ok");
    EXPECT_EQ(w.termType, 1);
}

TEST(TelnetCodec, CommandsSplitAcrossFeeds)
{
    const QByteArray stream = "a" + bytes({IAC, DO, 24}) + "b"
                              + bytes({IAC, SB, 24, 1, IAC, SE}) + "c" + bytes({IAC, IAC})
                              + "d" + bytes({IAC, EOR, IAC, WILL, 1, IAC, 244}) + "e";
    Wire whole;
    whole.feed(stream);
    ASSERT_EQ(whole.data, "abc\xff" "de");
    ASSERT_EQ(whole.sent, bytes({IAC, WILL, 24, IAC, SB, 24, 0, 'V', 'T', '1', '0', '0', IAC, SE,
                                 IAC, DO, 1}));

    for (int cut = 1; cut < stream.size(); ++cut) {
        Wire w;
        w.feed(stream.left(cut));
        w.feed(stream.mid(cut));
        EXPECT_EQ(w.data, whole.data) << "cut at " << cut;
        EXPECT_EQ(w.sent, whole.sent) << "cut at " << cut;
        EXPECT_EQ(w.endOfRecord, 1) << "cut at " << cut;
    }
    Wire single;
    for (char b : stream)
        single.codec.feed(&b, 1);
    EXPECT_EQ(single.data, whole.data);
    EXPECT_EQ(single.sent, whole.sent);
    EXPECT_EQ(single.termType, 1);
    EXPECT_EQ(single.localEcho, 1);
    EXPECT_EQ(single.endOfRecord, 1);
}

TEST(TelnetCodec, DataBytesAndDroppedCommands)
{
    struct Case { QByteArray in, data; };
    const Case cases[] = {
        {bytes({'a', IAC, IAC, 'b'}), bytes({'a', 255, 'b'})},
        {bytes({IAC, IAC, IAC, IAC}), bytes({255, 255})},
        {bytes({'a', 244, 245, 246, 247, 248, 'b'}), bytes({'a', 244, 245, 246, 247, 248, 'b'})},
        {bytes({239, 240, 250, 251, 252, 253, 254}), bytes({239, 240, 250, 251, 252, 253, 254})},
        {bytes({'a', IAC, 244, 'b'}), "ab"},
        {bytes({IAC, 241, IAC, 242, IAC, 243, IAC, 245, IAC, 246, IAC, 247, IAC, 248, IAC, 249,
                IAC, SE, IAC, 'q', IAC, 0, 'x'}),
         "x"},
        {bytes({0, 13, 10}), bytes({0, 13, 10})},
    };
    for (const Case& c : cases) {
        Wire w;
        w.feed(c.in);
        EXPECT_EQ(w.data.toHex(' '), c.data.toHex(' ')) << c.in.toHex(' ').constData();
        EXPECT_TRUE(w.sent.isEmpty()) << c.in.toHex(' ').constData();
    }
}

TEST(TelnetCodec, EndOfRecordEvent)
{
    Wire w;
    QByteArray dataAtEvent;
    w.codec.onEndOfRecord = [&] {
        ++w.endOfRecord;
        dataAtEvent = w.data;
    };
    w.feed(bytes({'x', IAC, EOR, 'y', IAC, EOR}));
    EXPECT_EQ(w.endOfRecord, 2);
    EXPECT_EQ(w.data, "xy");
    // Data before the record end is still in the buffer: it is handed on after the read.
    EXPECT_EQ(dataAtEvent, "");
}

TEST(TelnetCodec, DataHandedOnOnceOverFull)
{
    struct Case { int fed; QList<int> chunks; };
    const Case cases[] = {
        {1, {1}},
        {2048, {2048}},
        {2049, {2049}},
        {2050, {2049, 1}},
        {5000, {2049, 2049, 902}},
    };
    for (const Case& c : cases) {
        Wire w;
        w.feed(QByteArray(c.fed, 'x'));
        QList<int> sizes;
        for (const QByteArray& chunk : w.chunks)
            sizes.append(int(chunk.size()));
        EXPECT_EQ(sizes, c.chunks) << c.fed;
    }

    // Escapes count once: 3000 doubled IACs are 3000 data bytes.
    Wire w;
    QByteArray doubled;
    for (int i = 0; i < 3000; ++i)
        doubled += bytes({IAC, IAC});
    w.feed(doubled);
    ASSERT_EQ(w.chunks.size(), 2);
    EXPECT_EQ(w.chunks[0], QByteArray(2049, char(255)));
    EXPECT_EQ(w.chunks[1], QByteArray(951, char(255)));
}

TEST(TelnetCodec, DataDiscardedWhileUnassigned)
{
    Wire w;
    w.codec.onData = nullptr;
    w.feed("lost" + bytes({IAC, DO, 24}) + QByteArray(3000, 'y'));
    EXPECT_EQ(w.sent, bytes({IAC, WILL, 24})); // negotiation goes on regardless
    w.codec.onData = [&](const QByteArray& chunk) { w.data += chunk; };
    w.feed("kept");
    EXPECT_EQ(w.data, "kept");
}

TEST(TelnetCodec, ResetStartsFresh)
{
    const QByteArray halves[] = {
        bytes({IAC}),
        bytes({IAC, DO}),
        bytes({IAC, SB}),
        bytes({IAC, SB, 24, 1, IAC}),
    };
    for (const QByteArray& half : halves) {
        Wire w;
        w.feed(bytes({IAC, WILL, 0, IAC, WILL, 3, IAC, DO, 25}) + half);
        w.sent.clear();
        w.codec.reset();
        EXPECT_FALSE(w.codec.binary());
        EXPECT_FALSE(w.codec.suppressGoAhead());
        EXPECT_FALSE(w.codec.termTypeAgreed());
        w.feed(bytes({240, 'x', 'y'}));
        const QByteArray label = half.toHex(' ');
        EXPECT_EQ(w.data.toHex(' '), bytes({240, 'x', 'y'}).toHex(' ')) << label.constData();
        EXPECT_TRUE(w.sent.isEmpty()) << label.constData();
    }
}

TEST(TelnetCodec, ResetDuringFeedDropsTheOldBytes)
{
    Wire w;
    w.codec.onData = [&](const QByteArray& chunk) {
        w.chunks.append(chunk);
        w.codec.reset(); // as when the owner starts a new connection from its data handler
    };
    w.feed(QByteArray(3000, 'x') + bytes({IAC, DO, 24}));
    ASSERT_EQ(w.chunks.size(), 1);
    EXPECT_EQ(w.chunks[0].size(), 2049);
    EXPECT_TRUE(w.sent.isEmpty());
    w.feed("new");
    EXPECT_EQ(w.chunks.last(), "new");
}

TEST(TelnetCodec, EscapeIac)
{
    struct Case { QByteArray in, out; };
    const Case cases[] = {
        {"", ""},
        {"plain text\r\n", "plain text\r\n"},
        {bytes({255}), bytes({255, 255})},
        {bytes({'a', 255, 255, 'b'}), bytes({'a', 255, 255, 255, 255, 'b'})},
        {bytes({254, 253, 0, 250, 240}), bytes({254, 253, 0, 250, 240})},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TelnetCodec::EscapeIac(c.in).toHex(' '), c.out.toHex(' '));

    // What goes out escaped comes back as the same data.
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    Wire w;
    w.feed(TelnetCodec::EscapeIac(all));
    EXPECT_EQ(w.data, all);
}
