// Writes a game-like folder tree from a fixed seed, so that every run gets the same bytes:
//   vael_game_tree FOLDER [TOTAL_MB]   (default 1100)
// Files of every size from 2 KB to 6 MB in nested folders, with a few empty folders; by bytes
// about a third is incompressible (like packed media), a third structured binary records and a
// third text, the last two compressing at about 2 to 3 : 1 with deflate.
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kMinFileSize = 2e3;
constexpr double kMaxFileSize = 6e6;
constexpr int kFoldersPerLevel = 8;
constexpr std::size_t kWords = 3000;

class Generator {
public:
    explicit Generator(std::uint64_t seed) : random(seed) {}

    std::uint64_t Next() { return random(); }
    // Uniform in [0, bound).
    std::uint64_t Below(std::uint64_t bound) { return random() % bound; }
    double Unit() { return static_cast<double>(random() >> 11) / 9007199254740992.0; }

private:
    std::mt19937_64 random;
};

std::vector<std::string> MakeVocabulary(Generator& generator) {
    static const char kLetters[] = "etaoinshrdlucmfwypvbgkjqxz_";
    std::vector<std::string> words;
    for (std::size_t i = 0; i < kWords; ++i) {
        std::string word;
        std::size_t length = 2 + generator.Below(9);
        for (std::size_t j = 0; j < length; ++j) {
            // Squaring the unit value favours the common letters, as real text does.
            double u = generator.Unit();
            word += kLetters[static_cast<std::size_t>(u * u * 27)];
        }
        words.push_back(word);
    }
    return words;
}

std::string Incompressible(Generator& generator, std::size_t size) {
    std::string data(size, '\0');
    for (std::size_t i = 0; i < size; i += 8) {
        std::uint64_t value = generator.Next();
        for (std::size_t j = 0; j < 8 && i + j < size; ++j) {
            data[i + j] = static_cast<char>(value >> (8 * j));
        }
    }
    return data;
}

// Common words come up far more often than rare ones.
const std::string& Word(Generator& generator, const std::vector<std::string>& words) {
    double u = generator.Unit();
    return words[static_cast<std::size_t>(u * u * u * static_cast<double>(words.size()))];
}

// Lines of configuration-like text: keys and values drawn from a vocabulary, numbers.
std::string Text(Generator& generator, const std::vector<std::string>& words, std::size_t size) {
    std::string data;
    data.reserve(size + 256);
    while (data.size() < size) {
        data += Word(generator, words);
        data += " = ";
        std::size_t count = 1 + generator.Below(8);
        for (std::size_t i = 0; i < count; ++i) {
            if (generator.Below(3) == 0) {
                data += std::to_string(generator.Below(100000));
            } else {
                data += Word(generator, words);
            }
            data += i + 1 < count ? ", " : "\n";
        }
    }
    data.resize(size);
    return data;
}

// Fixed-size records as a model or level file holds them: an index, a kind, coordinates with
// a few significant bits, flags and padding.
std::string Records(Generator& generator, std::size_t size) {
    std::string data(size, '\0');
    std::uint32_t index = static_cast<std::uint32_t>(generator.Below(1000));
    for (std::size_t at = 0; at + 32 <= size; at += 32) {
        std::uint64_t bits = generator.Next();
        std::array<std::uint8_t, 32> record{};
        index += 1 + static_cast<std::uint32_t>(bits & 3);
        for (int i = 0; i < 4; ++i) {
            record[i] = static_cast<std::uint8_t>(index >> (8 * i));
        }
        record[4] = static_cast<std::uint8_t>((bits >> 2) & 7);
        for (int c = 0; c < 3; ++c) {
            std::uint64_t coordinate = generator.Next();
            record[8 + 4 * c] = static_cast<std::uint8_t>(coordinate);
            record[9 + 4 * c] = static_cast<std::uint8_t>((coordinate >> 8) & 0x0F);
            record[10 + 4 * c] = static_cast<std::uint8_t>(0x40 + ((coordinate >> 16) & 3));
            record[11 + 4 * c] = 0x44;
        }
        record[20] = static_cast<std::uint8_t>((bits >> 5) & 0x0F);
        record[24] = static_cast<std::uint8_t>(bits >> 9);
        std::copy(record.begin(), record.end(), data.begin() + static_cast<std::ptrdiff_t>(at));
    }
    return data;
}

fs::path FolderOf(Generator& generator, const fs::path& root) {
    fs::path folder = root;
    std::size_t depth = 1 + generator.Below(3);
    for (std::size_t level = 0; level < depth; ++level) {
        folder /= "dir" + std::to_string(generator.Below(kFoldersPerLevel));
    }
    return folder;
}

void WriteFile(const fs::path& path, const std::string& data) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(data.data(), static_cast<std::streamsize>(data.size()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s FOLDER [TOTAL_MB]\n", argv[0]);
        return 2;
    }
    fs::path root = argv[1];
    double total = (argc == 3 ? std::stod(argv[2]) : 1100.0) * 1e6;
    Generator generator(0x5EEDF00Du);
    std::vector<std::string> words = MakeVocabulary(generator);

    double written = 0;
    for (std::size_t file = 0; written < total; ++file) {
        auto size = static_cast<std::size_t>(
            kMinFileSize * std::pow(kMaxFileSize / kMinFileSize, generator.Unit()));
        fs::path folder = FolderOf(generator, root);
        std::string data;
        switch (file % 3) {
            case 0:
                data = Incompressible(generator, size);
                WriteFile(folder / ("media" + std::to_string(file) + ".pak"), data);
                break;
            case 1:
                data = Records(generator, size);
                WriteFile(folder / ("model" + std::to_string(file) + ".bin"), data);
                break;
            default:
                data = Text(generator, words, size);
                WriteFile(folder / ("config" + std::to_string(file) + ".txt"), data);
                break;
        }
        written += static_cast<double>(size);
    }
    for (int i = 0; i < 20; ++i) {
        fs::create_directories(root / "saves" / ("slot" + std::to_string(i)));
    }
    return 0;
}
