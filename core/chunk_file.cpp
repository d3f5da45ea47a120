#include "core/chunk_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/file_checks.h"
#include "core/identifier.h"

namespace vx {

ByteBuffer::ByteBuffer(std::size_t size) : size_(size) {
    // calloc hands out fresh pages without writing them.
    data_.reset(static_cast<std::uint8_t*>(std::calloc(size > 0 ? size : 1, 1)));
    if (!data_) throw std::bad_alloc();
}

void ByteBuffer::Free::operator()(std::uint8_t* p) const { std::free(p); }

namespace {

// A large object read whole fills thousands of small pages, and each first
// touch costs a fault; huge pages take one fault per 2 MiB. Only a hint:
// where the system has none to give, small pages are used as before. Not for
// a load that skips the geometry, which would then pay for pages it never reads.
void adviseHugePages(ByteBuffer& data) {
    constexpr std::uintptr_t kHugePage = std::uintptr_t(2) << 20;
    if (data.size() < 2 * kHugePage) return;
    const auto begin = reinterpret_cast<std::uintptr_t>(data.data());
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + data.size()) & ~(kHugePage - 1);
    if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

// Reads `length` bytes at `offset`; the count read (short at the end of the
// file), or none on a read error.
std::optional<std::size_t> readAt(int fd, std::uint8_t* to, std::size_t length, std::size_t offset) {
    std::size_t got = 0;
    while (got < length) {
        ssize_t n = ::pread(fd, to + got, length - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

// The chunks a script-only run leaves unread: the bulk of every object.
bool isGeometry(ChunkId id) {
    return id == makeId("PNTS") || id == makeId("POLS") || id == makeId("PTAG") || id == makeId("VMAP") ||
           id == makeId("VMAD");
}

// Reads the file ahead in blocks, so that a walk over many small chunks costs
// a system call per block rather than one per chunk. The bytes the walk keeps
// are copied on to the object's bytes in runs, so that what it leaves out
// (the geometry) is never written there and its pages stay untouched.
constexpr std::size_t kBlock = std::size_t(64) << 10;
struct Readahead {
    int fd = -1;
    std::uint8_t* to = nullptr;  // the object's bytes
    std::size_t limit = 0;       // their size: the file is never read past it
    std::vector<std::uint8_t> block = std::vector<std::uint8_t>(kBlock);
    std::size_t start = 0;   // the file offset of block[0]
    std::size_t length = 0;  // the bytes the block holds, short where the file ended
    std::size_t keepFrom = 0, keepTo = 0;  // a run of the block still to be copied on
};

void flushKept(Readahead& ahead) {
    if (ahead.keepTo > ahead.keepFrom)
        std::memcpy(ahead.to + ahead.keepFrom, ahead.block.data() + (ahead.keepFrom - ahead.start),
                    ahead.keepTo - ahead.keepFrom);
    ahead.keepFrom = ahead.keepTo = 0;
}

// Brings `length` bytes at `offset` into the block: the count there (short
// at the end of the file), or none on a read error.
std::optional<std::size_t> fetch(Readahead& ahead, std::size_t offset, std::size_t length) {
    if (offset < ahead.start || offset + length > ahead.start + ahead.length) {
        flushKept(ahead);
        std::optional<std::size_t> got =
            readAt(ahead.fd, ahead.block.data(), std::min(kBlock, ahead.limit - offset), offset);
        ahead.start = offset;
        ahead.length = got ? *got : 0;
        if (!got) return std::nullopt;
    }
    return std::min(length, ahead.start + ahead.length - offset);
}

// Marks `length` bytes of the block at `offset` for the object's bytes.
void keep(Readahead& ahead, std::size_t offset, std::size_t length) {
    if (ahead.keepTo != offset || ahead.keepTo == ahead.keepFrom) {
        flushKept(ahead);
        ahead.keepFrom = offset;
    }
    ahead.keepTo = offset + length;
}

// Reads the chunk headers and every chunk's data but the geometry's, walking
// the top-level chunks exactly as the lookups do, so every chunk a lookup can
// reach has its header in place. Returns the length read up to (short when
// the file shrank meanwhile). Geometry may pass through the read-ahead block,
// never into the object's bytes; geometry longer than a block is mostly never
// read at all.
std::optional<std::size_t> readWithoutGeometry(int fd, ByteBuffer& data) {
    std::uint8_t* bytes = data.data();
    const std::size_t size = data.size();
    std::optional<std::size_t> got = readAt(fd, bytes, std::min<std::size_t>(size, 12), 0);
    if (!got || *got < 12) return got;
    // LWO3 keeps its geometry in the same top-level chunks as LWO2.
    const ChunkId type = loadU4(bytes + 8);
    if (type != makeId("LWO2") && type != makeId("LWO3")) {
        got = readAt(fd, bytes + 12, size - 12, 12);
        return got ? std::optional<std::size_t>(12 + *got) : std::nullopt;
    }
    Readahead ahead;
    ahead.fd = fd;
    ahead.to = bytes;
    ahead.limit = size;
    const std::size_t bound = size - 8;
    std::size_t at = kFirstChunk;
    while (at < bound && size - at >= 8) {
        got = fetch(ahead, at, 8);
        if (!got) return std::nullopt;
        keep(ahead, at, *got);
        if (*got < 8) {
            flushKept(ahead);
            return at + *got;
        }
        const std::uint8_t* header = ahead.block.data() + (at - ahead.start);
        const std::size_t length = loadU4(header + 4);
        if (length > size - (at + 8)) break;  // the walks end here too
        if (length > 0 && !isGeometry(loadU4(header))) {
            if (length >= kBlock) {
                got = readAt(fd, bytes + at + 8, length, at + 8);
            } else {
                got = fetch(ahead, at + 8, length);
                if (got) keep(ahead, at + 8, *got);
            }
            if (!got) return std::nullopt;
            if (*got < length) {
                flushKept(ahead);
                return at + 8 + *got;
            }
        }
        at += 8 + length;
    }
    flushKept(ahead);
    return size;
}

// A form size is 32 bits: no object runs past this length.
constexpr std::uint64_t kLongestObject = 8 + std::uint64_t(0xFFFFFFFF);

// What the first bytes of an object of `length` bytes say of it: the
// message that refuses it, or none when it may be an object. `header` holds
// `got` bytes, the first 12 of the object or fewer when it is shorter.
const char* headerVerdict(const std::uint8_t* header, std::size_t got, std::uint64_t length) {
    // Shorter than a FORM header with its type: there is nothing to walk.
    if (got < 12 || length < 12 || std::memcmp(header, "FORM", 4) != 0) return "Not a valid IFF file.";
    if (loadU4(header + 4) > length - 8 || length > kLongestObject) return "Bad EOF position, file may be corrupt.";
    return nullptr;
}

void nameObject(ChunkFile& file, const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    file.fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    file.objectName = makeIdentifier(path);
}

enum : int { kRead = 0, kUnreadable = 1, kRefused = 2 };

// What reading an object gave: its bytes, or why it could not be read, or
// the message its header alone earns.
struct FileRead {
    ByteBuffer bytes;
    std::string reason;
    const char* refusal = nullptr;
};

// A regular file, whole or without its geometry; kUnreadable for anything
// else (a directory, a FIFO that might never deliver, a device) or when
// reading fails part way, with the reason. Its header and length are judged
// before anything is allocated: a file that cannot be an object, however
// long, is kRefused without being read.
int readFile(const std::string& path, LoadScope scope, FileRead& read) {
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read.reason = MessageSink::systemReason(errno);
        return kUnreadable;
    }
    int status = kUnreadable;
    struct stat st;
    std::uint8_t header[12];
    std::optional<std::size_t> got;
    if (::fstat(fd, &st) != 0) {
        read.reason = MessageSink::systemReason(errno);
    } else if (!S_ISREG(st.st_mode)) {
        read.reason = notRegularReason(st.st_mode);
    } else if (!(got = readAt(fd, header, sizeof header, 0))) {
        read.reason = MessageSink::systemReason(errno);
    } else if ((read.refusal = headerVerdict(header, *got, static_cast<std::uint64_t>(st.st_size)))) {
        status = kRefused;
    } else {
        ByteBuffer data(static_cast<std::size_t>(st.st_size));
        if (scope == LoadScope::Whole) adviseHugePages(data);
        got = scope == LoadScope::WithoutGeometry ? readWithoutGeometry(fd, data)
                                                  : readAt(fd, data.data(), data.size(), 0);
        if (got) {
            data.truncate(*got);  // a file that shrank while read is taken as it was read
            read.bytes = std::move(data);
            status = kRead;
        } else {
            read.reason = MessageSink::systemReason(errno);
        }
    }
    ::close(fd);
    return status;
}

}  // namespace

bool ChunkFile::load(const std::string& path, MessageSink& sink, LoadScope scope) {
    FileRead read;
    const int status = readFile(path, scope, read);
    if (status == kRead) return accept(std::move(read.bytes), path, sink);
    *this = ChunkFile{};
    if (status == kRefused) {
        nameObject(*this, path);
        sink.error(read.refusal, path);
    } else {
        sink.error("Can't open inputfile", path, std::string_view(read.reason));
    }
    return false;
}

bool ChunkFile::loadBytes(std::vector<std::uint8_t> data, const std::string& path, MessageSink& sink) {
    ByteBuffer copy(data.size());
    if (!data.empty()) std::memcpy(copy.data(), data.data(), data.size());
    return accept(std::move(copy), path, sink);
}

bool ChunkFile::accept(ByteBuffer data, const std::string& path, MessageSink& sink) {
    *this = ChunkFile{};
    nameObject(*this, path);
    if (const char* refusal = headerVerdict(data.data(), std::min<std::size_t>(data.size(), 12), data.size())) {
        sink.error(refusal, path);
        return false;
    }
    bytes = std::move(data);
    contentLength = static_cast<std::int64_t>(bytes.size()) - 8;
    tags = findChunk(*this, makeId("TAGS"));
    loaded = true;
    return true;
}

std::optional<Chunk> chunkAt(const ChunkFile& file, std::size_t offset, std::size_t bound) {
    const std::size_t size = file.bytes.size();
    if (offset >= bound || offset > size || size - offset < 8) return std::nullopt;
    const std::uint8_t* p = file.bytes.data() + offset;
    Chunk c{loadU4(p), loadU4(p + 4), offset + 8};
    if (c.size > size - c.offset) return std::nullopt;
    return c;
}

std::optional<Chunk> findChunk(const ChunkFile& file, ChunkId id) {
    std::optional<Chunk> found;
    forEachChunk(file, [&](const Chunk& c) {
        if (c.id != id) return true;
        found = c;
        return false;
    });
    return found;
}

std::optional<Chunk> subChunkAt(Bytes bytes, std::size_t offset, std::size_t end, SizeField field) {
    const std::size_t header = 4 + static_cast<std::size_t>(field);
    if (end > bytes.size() || offset > end || end - offset < header) return std::nullopt;
    const std::uint8_t* p = bytes.data() + offset;
    Chunk c{loadU4(p), field == SizeField::U4 ? loadU4(p + 4) : loadU2(p + 4), offset + header};
    if (c.size > end - c.offset) return std::nullopt;
    return c;
}

std::optional<Chunk> findSubChunk(Bytes bytes, std::size_t start, std::size_t length, ChunkId id, SizeField field) {
    std::optional<Chunk> found;
    forEachSubChunk(bytes, start, length, field, [&](const Chunk& c) {
        if (c.id != id) return true;
        found = c;
        return false;
    });
    return found;
}

}  // namespace vx
