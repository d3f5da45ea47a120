// Writes an 8 GiB file of zeros that takes no disk: a sparse file made with
// ftruncate. No object can be that long, and its header says it is none;
// the converter must say so without reading it. Remove the file after use.

#include <cstdint>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_sparse_zeros DIRECTORY\n";
        return 2;
    }
    const std::string path = std::string(argv[1]) + "/sparse_zeros.lwo";
    constexpr off_t kSize = off_t(8) << 30;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ::ftruncate(fd, kSize) != 0) {
        std::cerr << "make_sparse_zeros: cannot write " << path << "\n";
        if (fd >= 0) ::close(fd);
        return 1;
    }
    ::close(fd);
    std::cout << "wrote " << path << " (8 GiB of zeros, sparse)\n";
    return 0;
}
