// The export-file reader over arbitrary kasa.exp bytes.
// Oracles: the block line reader hands out the same lines, whatever its block size, as a plain
// split at CR LF, LF and lone CR, counts them alike and reads them again after a rewind; the
// buffer then holds one goods row per goods line, with the line's code, or the reading fails
// with the runtime's exception naming the line.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "exportdata/ksexpbuf.h"
#include "exportdata/line_reader.h"
#include "fuzz_support.h"
#include "runtime/exceptions.h"
#include "support/fake_clock.h"

namespace {

void CheckLineReader(const std::string& path, const std::vector<std::string_view>& expected) {
    // Small blocks split lines and CR LF pairs everywhere; the reading of the buffer below uses
    // the default block.
    for (const std::size_t blockSize : {std::size_t{16}, std::size_t{37}}) {
        BlockLineReader reader(path, blockSize);
        for (int pass = 0; pass < 2; ++pass) {
            std::size_t count = 0;
            std::string_view line;
            while (reader.Next(line)) {
                fuzz::Expect(count < expected.size(), "the line reader hands out too many lines");
                fuzz::Expect(line == expected[count],
                             "line " + std::to_string(count + 1) + " differs at block size " +
                                 std::to_string(blockSize));
                ++count;
            }
            fuzz::Expect(count == expected.size(), "the line reader lost lines");
            reader.Rewind();
        }
        fuzz::Expect(BlockLineReader::CountLines(path, blockSize) ==
                         static_cast<int>(expected.size()),
                     "CountLines differs from the lines handed out");
    }
}

void CheckBuffer(const std::string& path, const std::string& bytes, bool sort) {
    KSExpBuf buffer(nullptr);
    try {
        buffer.ReadFromFile(path, sort, -1);
    } catch (const Exception& e) {
        // The host gets the message as a C string on a line of at most 300 characters.
        const std::string shown = std::string(e.what()).substr(0, 300);
        const std::size_t place = shown.find(" (wiersz ");
        fuzz::Expect(place != std::string::npos && shown.find(')', place) != std::string::npos,
                     "a reading error does not show its line: " + shown);
        return;
    } catch (const std::exception& e) {
        fuzz::Fail(std::string("the reader let a foreign exception out: ") + e.what());
    }
    const auto goods = fuzz::GoodsLines(bytes);
    fuzz::Expect(buffer.towary.GetCount() == static_cast<int>(goods.size()) &&
                     buffer.LiczbaTowarow == static_cast<int>(goods.size()),
                 "goods rows " + std::to_string(buffer.towary.GetCount()) + " for " +
                     std::to_string(goods.size()) + " goods lines");
    std::vector<std::string> expectedCodes, readCodes;
    for (const auto& fields : goods)
        expectedCodes.emplace_back(fields.size() > 3 ? fields[3] : std::string_view());
    for (int row = 0; row < buffer.towary.GetCount(); ++row)
        readCodes.emplace_back(buffer.towary.TextView(row, colOrgBarcode));
    if (sort) {
        std::sort(expectedCodes.begin(), expectedCodes.end());
        std::sort(readCodes.begin(), readCodes.end());
    }
    fuzz::Expect(readCodes == expectedCodes, "the goods codes read differ from the file's");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static FakeClock clock;  // the reader's pauses cost no time
    static const fuzz::WorkDir work("reader");
    const std::filesystem::path& dir = work.Path();
    fuzz::EmptyDirectory(dir);  // the archive the reader appends to starts empty
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::string path = (dir / "kasa.exp").string();
    fuzz::WriteBytes(path, bytes);

    CheckLineReader(path, fuzz::SplitLines(bytes));
    CheckBuffer(path, bytes, size % 2 == 1);
    return 0;
}
