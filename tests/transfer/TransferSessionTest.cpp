#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "core/TransferMonitor.h"
#include "data/DataFile.h"
#include "data/DataSet.h"
#include "support/RecordingPrompter.h"
#include "support/TempDir.h"
#include "transfer/ByteLink.h"
#include "transfer/InstrumentRecord.h"
#include "transfer/TransferSession.h"

namespace velkor {
namespace {

// An instrument in the same process: answers the protocol from a list of records.
class ScriptedInstrument : public ByteLink {
  public:
    explicit ScriptedInstrument(std::vector<InstrumentRecord> records)
        : records_(std::move(records)) {}

    FT_STATUS write(const void* bytes, DWORD count, DWORD& written) override {
        written = 0;
        if (failed()) {
            return FT_IO_ERROR;
        }
        const auto* b = static_cast<const std::uint8_t*>(bytes);
        for (DWORD i = 0; i < count; ++i) {
            sent.push_back(b[i]);
            answer(b[i]);
        }
        written = count;
        return FT_OK;
    }

    FT_STATUS read(void* bytes, DWORD count, DWORD& received) override {
        received = 0;
        ++reads;
        auto* b = static_cast<std::uint8_t*>(bytes);
        const DWORD most = perRead > 0 ? std::min(count, perRead) : count;
        while (received < most && !pending_.empty()) {
            if (failed()) {
                return FT_IO_ERROR;
            }
            b[received++] = pending_.front();
            pending_.pop_front();
            ++given_;
        }
        return FT_OK;  // fewer bytes than asked: the time-out passed
    }

    std::uint8_t echo = '$';
    std::uint32_t count = 0xFFFFFFFEu;  // the number of records unless set
    long failAfter = -1;                // bytes given before the link fails
    bool silent = false;                // answers nothing at all
    DWORD perRead = 0;                  // the most bytes one read gives (0: all asked)
    int reads = 0;
    std::vector<std::uint8_t> sent;

  private:
    bool failed() const { return failAfter >= 0 && given_ >= failAfter; }
    void queue(const std::uint8_t* b, std::size_t n) { pending_.insert(pending_.end(), b, b + n); }
    void queueRecord() {
        if (next_ < records_.size()) {
            std::uint8_t head[12];
            std::uint8_t body[40];
            records_[next_++].encode(head, body);
            queue(head, 12);
            queue(body, 40);
        }
    }
    void answer(std::uint8_t byte) {
        if (silent) {
            return;
        }
        if (byte == '$') {
            queue(&echo, 1);
        } else if (byte == '?') {
            const std::uint32_t n =
                count == 0xFFFFFFFEu ? static_cast<std::uint32_t>(records_.size()) : count;
            const std::uint8_t b[4] = {
                static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
            queue(b, 4);
            queueRecord();
        } else if (byte == 0x0A) {
            queueRecord();
        }
    }

    std::vector<InstrumentRecord> records_;
    std::deque<std::uint8_t> pending_;
    std::size_t next_ = 0;
    long given_ = 0;
};

class Monitor : public TransferMonitor {
  public:
    void addLine(const std::string& line) override { lines.push_back(line); }
    void setProgress(std::uint32_t r, std::uint32_t c) override {
        received = r;
        count = c;
    }
    bool cancelled() override {
        ++polls;
        return (cancelAt >= 0 && static_cast<int>(lines.size()) >= cancelAt) ||
               (cancelAtPoll >= 0 && polls >= cancelAtPoll);
    }
    void hide() override {}

    std::vector<std::string> lines;
    std::uint32_t received = 0, count = 0;
    int cancelAt = -1;      // the user cancels once this many lines are shown
    int cancelAtPoll = -1;  // or at this poll of the window
    int polls = 0;
};

// An instrument that answers with fixed bytes whatever is asked, and may claim to have
// delivered more than was asked for.
class RawInstrument : public ByteLink {
  public:
    explicit RawInstrument(std::vector<std::uint8_t> answers) : answers_(std::move(answers)) {}

    FT_STATUS write(const void* bytes, DWORD count, DWORD& written) override {
        const auto* b = static_cast<const std::uint8_t*>(bytes);
        sent.insert(sent.end(), b, b + count);
        written = count;
        return FT_OK;
    }
    FT_STATUS read(void* bytes, DWORD count, DWORD& received) override {
        received = 0;
        auto* b = static_cast<std::uint8_t*>(bytes);
        while (received < count && next_ < answers_.size()) {
            b[received++] = answers_[next_++];
        }
        if (received == count) {
            received += overclaim;
        }
        return FT_OK;
    }

    DWORD overclaim = 0;
    std::vector<std::uint8_t> sent;

  private:
    std::vector<std::uint8_t> answers_;
    std::size_t next_ = 0;
};

std::vector<InstrumentRecord> threeRecords() {
    std::vector<InstrumentRecord> out(3);
    for (int i = 0; i < 3; ++i) {
        InstrumentRecord& r = out[static_cast<std::size_t>(i)];
        r.year = 2026;
        r.month = 7;
        r.day = 3;
        r.hour = 10;
        r.minute = static_cast<std::int16_t>(i);
        r.mode = static_cast<std::int16_t>(i);
        r.line = 1;
        r.position = static_cast<std::int16_t>(i + 1);
        r.note = static_cast<std::int16_t>(i);
        r.error = 0.7f;
        r.amplitude = 7.9f;
        r.decay = 1.5f;
        r.field28 = i == 2 ? 48130.9f : 0.0f;
        r.field36 = i == 2 ? 123.96f : 48123.4f;
    }
    return out;
}

}  // namespace

TEST(TransferSession, ThreeRecordsBecomeADataFile) {
    TempDir dir;
    ScriptedInstrument instrument(threeRecords());
    Monitor monitor;
    const auto r = TransferSession(instrument, monitor).run(dir.path("$$new$$"));
    EXPECT_EQ(r.outcome, TransferSession::Outcome::Finished);
    EXPECT_EQ(r.received, 3u);
    EXPECT_EQ(TempDir::read(dir.path("$$new$$")),
              "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n"
              "S 03.07.2026 10:00:00     1     1 48123.4  0.7 7 1.5               \r\n"
              "A 03.07.2026 10:01:00     1     2 48123.4  0.7 7 1.5          Base \r\n"
              "G 03.07.2026 10:02:00     1     3 48130.9  0.7 7 1.5    124.0 Bog  \r\n");
    EXPECT_EQ(instrument.sent, (std::vector<std::uint8_t>{'$', '?', 0x0A, 0x0A, 0x0A}));
    EXPECT_EQ(monitor.lines.size(), 3u);
    EXPECT_EQ(monitor.received, 3u);
    EXPECT_EQ(monitor.count, 3u);
}

TEST(TransferSession, HandshakeAnswers) {
    TempDir dir;
    Monitor monitor;
    ScriptedInstrument hash(threeRecords());
    hash.echo = '#';
    EXPECT_EQ(TransferSession(hash, monitor).run(dir.path("a")).outcome,
              TransferSession::Outcome::WrongEcho);
    EXPECT_EQ(hash.sent, (std::vector<std::uint8_t>{'$'}));

    ScriptedInstrument none(threeRecords());
    none.count = 0xFFFFFFFFu;
    EXPECT_EQ(TransferSession(none, monitor).run(dir.path("b")).outcome,
              TransferSession::Outcome::NoData);

    ScriptedInstrument zero(threeRecords());
    zero.count = 0;
    const auto r = TransferSession(zero, monitor).run(dir.path("c"));
    EXPECT_EQ(r.outcome, TransferSession::Outcome::Finished);
    EXPECT_EQ(r.count, 0u);
    EXPECT_EQ(TempDir::read(dir.path("c")),
              "M Date      Time      Line  Pos  Field  Err  A D    Grad    Note \r\n");

    ScriptedInstrument many(threeRecords());
    many.count = 20000;
    EXPECT_EQ(TransferSession(many, monitor).run(dir.path("d")).outcome,
              TransferSession::Outcome::TooMany);
}

TEST(TransferSession, FailureAtEveryByteNeverFinishes) {
    TempDir dir;
    const long total = 1 + 4 + 3 * 52;
    for (long k = 0; k <= total; ++k) {
        ScriptedInstrument instrument(threeRecords());
        instrument.failAfter = k;
        Monitor monitor;
        const auto r = TransferSession(instrument, monitor).run(dir.path("t"));
        // Even after the last record, a lost acknowledgement is a failure.
        EXPECT_NE(r.outcome, TransferSession::Outcome::Finished) << k;
        EXPECT_EQ(r.received, static_cast<std::uint32_t>(k < 5 ? 0 : (k - 5) / 52)) << k;
    }
}

TEST(TransferSession, CancelAndUnwritableFile) {
    TempDir dir;
    ScriptedInstrument instrument(threeRecords());
    Monitor monitor;
    monitor.cancelAt = 2;
    const auto r = TransferSession(instrument, monitor).run(dir.path("t"));
    EXPECT_EQ(r.outcome, TransferSession::Outcome::Cancelled);
    EXPECT_EQ(r.received, 2u);

    ScriptedInstrument untouched(threeRecords());
    EXPECT_EQ(TransferSession(untouched, monitor).run(dir.path("missing/t")).outcome,
              TransferSession::Outcome::WriteError);
    EXPECT_TRUE(untouched.sent.empty());  // nothing is sent without a file to write to
}

TEST(TransferSession, ASilentInstrumentIsWaitedForInSlicesWhileTheWindowAnswers) {
    TempDir dir;
    ScriptedInstrument silent(threeRecords());
    silent.silent = true;
    Monitor patient;
    EXPECT_EQ(TransferSession(silent, patient).run(dir.path("t")).outcome,
              TransferSession::Outcome::NoAnswer);
    EXPECT_EQ(silent.reads, static_cast<int>(TransferSession::kSlices));
    EXPECT_EQ(patient.polls, static_cast<int>(TransferSession::kSlices));

    // Cancel while the handshake waits ends at the next slice.
    ScriptedInstrument alsoSilent(threeRecords());
    alsoSilent.silent = true;
    Monitor impatient;
    impatient.cancelAtPoll = 4;
    const auto r = TransferSession(alsoSilent, impatient).run(dir.path("u"));
    EXPECT_EQ(r.outcome, TransferSession::Outcome::Cancelled);
    EXPECT_EQ(alsoSilent.reads, 3);
    EXPECT_EQ(r.received, 0u);
}

TEST(TransferSession, BytesArrivingAFewAtATimeAddUp) {
    TempDir dir;
    ScriptedInstrument trickle(threeRecords());
    trickle.perRead = 5;
    Monitor monitor;
    const auto r = TransferSession(trickle, monitor).run(dir.path("t"));
    EXPECT_EQ(r.outcome, TransferSession::Outcome::Finished);
    EXPECT_EQ(r.received, 3u);
    EXPECT_EQ(trickle.reads, 1 + 1 + 3 * (3 + 8));  // echo, count, then 12 and 40 bytes by 5
}

TEST(TransferSession, EveryRecordStaysOneReading) {
    std::vector<InstrumentRecord> records;
    for (int i = 0; i < 4; ++i) {
        const std::vector<InstrumentRecord> three = threeRecords();
        records.insert(records.end(), three.begin(), three.end());
    }
    records[1].field36 = 1e30f;   // an 'A' reading
    records[2].error = 3e38f;     // a 'G' reading
    records[5].field28 = -1e30f;  // another 'G'
    records[6].decay = 1e30f;
    records[7].amplitude = 1e30f;  // saturates, and still fits
    records[9].error = -3e38f;
    records[11].field36 = 1e30f;  // a gradient
    TempDir dir;
    ScriptedInstrument instrument(records);
    Monitor monitor;
    const auto r = TransferSession(instrument, monitor).run(dir.path("t"));
    ASSERT_EQ(r.outcome, TransferSession::Outcome::Finished);
    EXPECT_EQ(r.cut, 6u);
    EXPECT_EQ(r.firstCut, (std::vector<std::uint32_t>{2, 3, 6, 7, 10}));
    const std::string text = TempDir::read(dir.path("t"));
    std::size_t lines = 0;
    for (std::size_t from = 0, end = 0; (end = text.find("\r\n", from)) != std::string::npos;
         from = end + 2) {
        EXPECT_LE(end - from, TransferSession::kLongestLine) << lines;
        ++lines;
    }
    EXPECT_EQ(lines, 13u);
    EXPECT_NE(text.find("\r\nA 03.07.2026 10:01:00     1     2 1000000015047466219876688855040.0  "
                        "0.7 7 1.5      \r\nG "),
              std::string::npos);

    RecordingPrompter prompter;
    DataSet data;
    ASSERT_TRUE(DataFile::load(dir.path("t"), data, prompter));
    EXPECT_EQ(data.readingCount(), 12);
}

TEST(TransferSession, GarbageTooMuchAndTheLargestCounts) {
    TempDir dir;
    Monitor monitor;
    // Counts next to "no data": refused as more than a data set holds, nothing acknowledged.
    for (std::uint8_t low : {0xFE, 0x20}) {
        RawInstrument huge({'$', low, 0xFF, 0xFF, 0xFF});
        const auto r = TransferSession(huge, monitor).run(dir.path("h"));
        EXPECT_EQ(r.outcome, TransferSession::Outcome::TooMany);
        EXPECT_EQ(huge.sent, (std::vector<std::uint8_t>{'$', '?'}));
    }

    // Two records of garbage, then more bytes than announced, with every read claiming
    // more than it was asked for: two readings of at most 84 characters, two
    // acknowledgements, and the surplus left unread.
    std::vector<std::uint8_t> answers{'$', 2, 0, 0, 0};
    for (int i = 0; i < 2 * 52 + 300; ++i) {
        answers.push_back(static_cast<std::uint8_t>(i * 97 + 13));
    }
    RawInstrument garbage(answers);
    garbage.overclaim = 1000;
    const auto r = TransferSession(garbage, monitor).run(dir.path("g"));
    ASSERT_EQ(r.outcome, TransferSession::Outcome::Finished);
    EXPECT_EQ(r.received, 2u);
    EXPECT_EQ(garbage.sent, (std::vector<std::uint8_t>{'$', '?', 0x0A, 0x0A}));
    RecordingPrompter prompter;
    DataSet data;
    ASSERT_TRUE(DataFile::load(dir.path("g"), data, prompter));
    EXPECT_EQ(data.readingCount(), 2);
    for (const std::string& line : data.lines()) {
        EXPECT_LE(line.size(), TransferSession::kLongestLine);
    }
}

}  // namespace velkor
