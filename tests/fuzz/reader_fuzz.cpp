// Drives the element reader over arbitrary bytes: every peek, element, group and
// value read, chosen by the input itself. Only CDRAVException may come out.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

#include "common/data_file_reader.h"
#include "common/exception.h"

namespace {

void Walk(DRAVCommon::CDataFileReader& reader, const std::uint8_t* data, std::size_t size) {
    std::uint32_t colour = 0;
    for (std::size_t step = 0; step < 4 * size + 16 && !reader.AtEnd(); ++step) {
        (void)reader.IsAnyBlockStart();
        (void)reader.PeekBlockName();
        (void)reader.IsBlock("a");
        // The bytes choose the operation, so the fuzzer can steer the walk.
        switch ((size ? data[step % size] : 0) % 16) {
            case 0: reader.ReadWord(); break;
            case 1: reader.ReadWordOrEmpty(); break;
            case 2: reader.ReadQuoted(); break;
            case 3: reader.ReadUInt(); break;
            case 4: reader.ReadInt(); break;
            case 5: reader.ReadDouble(); break;
            case 6: reader.ReadBool(); break;
            case 7: reader.ReadColour(colour); break;
            case 8: reader.BeginPairGroup(); break;
            case 9: reader.BeginGroup(3, false); break;
            case 10: {
                std::string name = reader.PeekBlockName();
                if (!name.empty()) reader.BeginBlock(name);
                else reader.Advance();
                break;
            }
            case 11: if (!reader.AtBlockEnd()) reader.Advance(); else reader.EndBlock(); break;
            case 12: {
                std::string name = reader.PeekBlockName();
                if (!name.empty()) reader.SkipBlock(name);
                else reader.ReadWord();
                break;
            }
            case 13: reader.EndBlock(); break;
            default: reader.Advance(); break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    auto stream = std::make_shared<std::istringstream>(std::string(reinterpret_cast<const char*>(data), size));
    try {
        DRAVCommon::CDataFileReader reader(stream, "fuzz.drav");
        Walk(reader, data, size);
    } catch (const CDRAVException&) {
    }
    return 0;
}
