// The export-file generator: the same options always give the same bytes.
#include "export_generator.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace benchgen {
namespace {

// SplitMix64: small, fast and the same on every platform.
class Random {
public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }

private:
    std::uint64_t state_;
};

// Windows-1250 words: ą \xB9, ć \xE6, ę \xEA, ł \xB3, ń \xF1, ó \xF3, ś \x9C, ź \x9F, ż \xBF,
// Ż \xAF, Ł \xA3, Ś \x8C.
const char* const kProducts[] = {
    "Chleb", "Bu\xB3ka", "Mas\xB3o", "Ser \xBF\xF3\xB3ty", "Szynka", "Kie\xB3\x62\x61sa",
    "Jab\xB3ka", "Gruszki", "Pomidory", "Og\xF3rki", "Ziemniaki", "Cebula", "Marchew",
    "Twar\xF3g", "\x8Cmietana", "Kefir", "Jogurt", "Pier\xBFyk", "Ciastka", "Cukierki",
    "Kawa", "Herbata", "Mi\xF3\x64", "D\xBF" "em", "Pieczarki", "Kurczak", "Schab", "Boczek",
    "\xA3oso\x9C", "Dorsz", "\x8Cliwki", "Wi\x9Cnie", "Orzechy", "Rodzynki", "\xAF\x75rek"};
const char* const kKinds[] = {
    "wiejski", "\x9Cwie\xBFy", "w\xEA" "dzony", "domowy", "tradycyjny", "ekologiczny",
    "polski", "krojony", "mro\xBFony", "suszony", "kwa\x9Cny", "s\xB3odki", "pikantny",
    "pe\xB3noziarnisty", "z\xB3ocisty", "delikatesowy"};
const char* const kMakers[] = {"Pod\xB3\x61sie", "Mazowsze", "Ma\xB3opolska", "Kaszuby",
                               "\x8Cl\xB9sk", "Wielkopolska", "Kujawy", "Podkarpacie"};
const char* const kUnits[] = {"1;0;szt.", "2;3;kg", "3;0;op.", "4;2;l"};

std::string Digits(Random& random, int count) {
    std::string s;
    for (int i = 0; i < count; ++i) s += static_cast<char>('0' + random.Below(10));
    return s;
}

}  // namespace

char Ean13CheckDigit(const std::string& twelveDigits) {
    int sum = 0;
    for (int i = 0; i < 12 && i < static_cast<int>(twelveDigits.size()); ++i)
        sum += (twelveDigits[static_cast<size_t>(i)] - '0') * (i % 2 ? 3 : 1);
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

std::uint64_t WriteExportFile(const std::string& path, const ExportOptions& options) {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "wb"),
                                                          &std::fclose);
    if (!file) throw std::runtime_error("cannot write " + path);
    Random random(options.seed);
    std::string out;
    out.reserve(1 << 20);
    std::uint64_t size = 0;
    auto flush = [&] {
        if (!out.empty() && std::fwrite(out.data(), 1, out.size(), file.get()) != out.size())
            throw std::runtime_error("cannot write " + path);
        size += out.size();
        out.clear();
    };

    out += "# export file for benchmarks\r\n";
    out += "VAT;23;2300\r\nVAT;8;800\r\nVAT;5;500\r\nVAT;0;0\r\n";
    for (const char* unit : kUnits) out += std::string("JM;") + unit + "\r\n";
    out += "[TOWARY]\r\n";

    const int products = sizeof kProducts / sizeof *kProducts;
    const int kinds = sizeof kKinds / sizeof *kKinds;
    const int makers = sizeof kMakers / sizeof *kMakers;
    const char* const rates[] = {"23", "8", "5", "0"};
    const char* const actions[] = {"DOD", "DOD", "DOD", "AKT", "AKT", "CEN", "USU"};
    const std::string prefix = options.prefix.substr(0, 12);
    for (long long i = 0; i < options.goods; ++i) {
        const long long plu = i + 1;
        const bool weighted = random.Below(100) < options.weightedPercent;
        std::string code;
        if (weighted) {
            // prefix, goods number, zero weight/price part, check digit
            code = prefix + Digits(random, static_cast<int>(7 - std::min<size_t>(prefix.size(), 7)));
            code += "00000";
            code = code.substr(0, 12);
        } else {
            code = "59" + Digits(random, 10);
        }
        code += Ean13CheckDigit(code);
        const char* product = kProducts[random.Below(products)];
        const char* kind = kKinds[random.Below(kinds)];
        const char* maker = kMakers[random.Below(makers)];
        const int price = 99 + random.Below(9900);
        const int rate = random.Below(4);
        const int unit = weighted ? 2 : 1 + 2 * random.Below(2);
        char line[1024];
        std::snprintf(line, sizeof line,
                      "PLU;%lld;%lld;%s;%s %s;%d;%d;%d;%d;%s;%d;%c;%d;%c;F;F;0;;%d;%s;"
                      "%s %s;Producent: %s;10.71.11.0;;%d;-1;1000;Przechowywa\xE6 w suchym miejscu;"
                      "Partia %d;0;%s00;%s %s %s;%d\r\n",
                      plu, plu % 1000, code.c_str(), product, kind, price, price * 9 / 10,
                      price * 8 / 10, price * 7 / 10, rates[rate], unit, weighted ? 'T' : 'F',
                      weighted ? 3 : 0, weighted ? 'T' : 'F', 1 + random.Below(20),
                      actions[random.Below(7)], product, kind, maker, random.Below(30),
                      random.Below(1000), rates[rate], product, kind, maker, 1 + random.Below(12));
        out += line;
        if (out.size() >= (1 << 20)) flush();
    }
    flush();
    return size;
}

}  // namespace benchgen
