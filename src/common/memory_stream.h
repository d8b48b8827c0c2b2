#pragma once
// An input stream over bytes it owns: what an archive entry is served as, so that
// reading stops at the entry's end.

#include <istream>
#include <streambuf>

#include "common/data_file.h"

namespace DRAVCommon {

class CMemoryStream : public std::istream {
public:
    explicit CMemoryStream(std::shared_ptr<ByteVector> bytes);

private:
    class Buffer : public std::streambuf {
    public:
        explicit Buffer(ByteVector& bytes);

    protected:
        pos_type seekoff(off_type offset, std::ios_base::seekdir dir, std::ios_base::openmode which) override;
        pos_type seekpos(pos_type position, std::ios_base::openmode which) override;
    };

    std::shared_ptr<ByteVector> m_bytes;
    Buffer m_buffer;
};

}  // namespace DRAVCommon
