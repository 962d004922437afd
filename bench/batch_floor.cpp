// The floor under the command line's table run: only the work no table run
// can avoid, with nothing between it and the machine. The file is read with
// read() into memory, split in two at a line end, and each half is taken
// by a thread of its own: the four counts read with from_chars, z and the
// normal approximation's p values worked out, and each row written with its
// numbers in their shortest digits (the figures layer's number writer)
// through a 1 MiB buffer into a file of the thread's own. No rows are
// checked, no problems worded, nothing kept in order.
//
//   batch_floor TABLE.csv OUT-PREFIX p       the two p values a row
//   batch_floor TABLE.csv OUT-PREFIX every   and as many numbers as a row of
//                                            every figure holds, the exact
//                                            tails (Fisher's test, the chance
//                                            to beat) among them
// Prints "floor_seconds S".

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "engine/chance_to_beat.h"
#include "engine/exact_test.h"
#include "engine/portable_math.h"
#include "figures/number_writer.h"

using namespace ambrelay;

namespace {

constexpr std::size_t kBuffer = 1 << 20;
// The numbers a row of every figure writes (intervals' ends included).
constexpr int kEveryNumbers = 35;

class Output {
public:
    explicit Output(const std::string& path) : fd_(::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644)) {}
    ~Output()
    {
        Flush();
        ::close(fd_);
    }
    char* Room(std::size_t n)
    {
        if (used_ + n > kBuffer) {
            Flush();
        }
        return buffer_.data() + used_;
    }
    void Used(char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }

private:
    void Flush()
    {
        for (std::size_t done = 0; done < used_;) {
            const ssize_t n = ::write(fd_, buffer_.data() + done, used_ - done);
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        used_ = 0;
    }
    int fd_;
    std::vector<char> buffer_ = std::vector<char>(kBuffer);
    std::size_t used_ = 0;
};

char* Number(char* at, double x)
{
    *at++ = ',';
    return std::isfinite(x) ? WriteNumber(at, x, NumberLayout::Shortest) : at;
}

void Half(std::string_view text, const std::string& path, bool every)
{
    Output out(path);
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        double c[4] = {};
        const char* at = line.data() + line.find(',') + 1;
        const char* stop = line.data() + line.size();
        for (double& count : c) {
            long long whole = 0;
            at = std::from_chars(at, stop, whole).ptr + 1;
            count = static_cast<double>(whole);
        }
        const double r1 = c[1] / c[0], r2 = c[3] / c[2];
        const double pooled = (c[1] + c[3]) / (c[0] + c[2]);
        const double z = (r1 - r2) / std::sqrt(pooled * (1 - pooled) * (1 / c[0] + 1 / c[2]));
        const double p = math::Erfc(std::fabs(z) / std::sqrt(2.0));
        char* o = out.Room(line.size() + 1 + (kEveryNumbers + 2) * (kNumberRoom + 1) + 2);
        std::memcpy(o, line.data(), line.size());
        o += line.size();
        o = Number(o, p);
        o = Number(o, p / 2);
        if (every) {
            const Counts counts{c[0], c[1], c[2], c[3]};
            const Version leader = r2 > r1 ? Version::B : Version::A;
            const ExactTestOutcome exact = FisherExactTest(counts, leader);
            const Outcome<double> chance = ChanceToBeat(counts, leader);
            o = Number(o, exact ? exact->twoSided : NAN);
            o = Number(o, exact ? exact->oneSided : NAN);
            o = Number(o, chance ? *chance : NAN);
            o = Number(o, z);
            // The rest of a row's numbers: ratios, differences and their
            // intervals are a few operations each; written as many times.
            const double spread = std::sqrt(r1 * (1 - r1) / c[0] + r2 * (1 - r2) / c[2]);
            for (int i = 6; i < kEveryNumbers; ++i) {
                o = Number(o, (r1 - r2) * 100 + (i % 3 - 1) * 1.959963984540054 * spread * 100 + i * r1);
            }
        }
        *o++ = '\r';
        *o++ = '\n';
        out.Used(o);
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s TABLE.csv OUT-PREFIX p|every\n", argv[0]);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::string text;
    const int fd = ::open(argv[1], O_RDONLY);
    std::vector<char> chunk(kBuffer);
    for (ssize_t n; (n = ::read(fd, chunk.data(), chunk.size())) > 0;) {
        text.append(chunk.data(), static_cast<std::size_t>(n));
    }
    ::close(fd);
    const bool every = std::string_view(argv[3]) == "every";
    const std::string_view body = std::string_view(text).substr(text.find('\n') + 1);
    const std::size_t middle = std::min(body.find('\n', body.size() / 2) + 1, body.size());
    const std::string prefix = argv[2];
    std::thread other([&] { Half(body.substr(middle), prefix + ".2", every); });
    Half(body.substr(0, middle), prefix + ".1", every);
    other.join();
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("floor_seconds %.3f\n", seconds);
    return 0;
}
