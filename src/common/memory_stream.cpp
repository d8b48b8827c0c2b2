#include "common/memory_stream.h"

namespace DRAVCommon {

CMemoryStream::Buffer::Buffer(ByteVector& bytes) {
    char* begin = reinterpret_cast<char*>(bytes.data());
    setg(begin, begin, begin + bytes.size());
}

CMemoryStream::Buffer::pos_type CMemoryStream::Buffer::seekoff(off_type offset, std::ios_base::seekdir dir,
                                                               std::ios_base::openmode which) {
    if (!(which & std::ios_base::in)) return pos_type(off_type(-1));
    off_type base = dir == std::ios_base::beg   ? 0
                    : dir == std::ios_base::cur ? gptr() - eback()
                                                : egptr() - eback();
    off_type target = base + offset;
    if (target < 0 || target > egptr() - eback()) return pos_type(off_type(-1));
    setg(eback(), eback() + target, egptr());
    return pos_type(target);
}

CMemoryStream::Buffer::pos_type CMemoryStream::Buffer::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

CMemoryStream::CMemoryStream(std::shared_ptr<ByteVector> bytes)
    : std::istream(nullptr), m_bytes(std::move(bytes)), m_buffer(*m_bytes) {
    rdbuf(&m_buffer);
}

}  // namespace DRAVCommon
