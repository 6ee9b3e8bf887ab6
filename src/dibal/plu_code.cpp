// SkalnixAction::FormatPluCode: whether a goods goes to the scale, and under which PLU code,
// from its barcode and the weighted-code settings.
#include <algorithm>
#include <string>
#include <string_view>

#include "dibal/rejections.h"
#include "dibal/skalnixaction.h"
#include "exportdata/ksexpbuf.h"
#include "runtime/xftools.h"

namespace {

bool AllDigits(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Up to `count` characters from the 0-based `start`; empty past the end.
std::string_view Part(std::string_view text, std::size_t start, std::size_t count) {
    return start < text.size() ? text.substr(start, count) : std::string_view();
}

// StrToInt of a text: one of one to nine digits is read here, any other goes to StrToInt,
// which gives the same number or the error that ends the export.
int CodeNumber(std::string_view text) {
    if (text.empty() || text.size() > 9 || !AllDigits(text)) return StrToInt(std::string(text));
    int value = 0;
    for (const char c : text) value = value * 10 + (c - '0');
    return value;
}

// The digits without their leading zeros ("" for zero).
std::string_view Significant(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// The PLU code of a text of digits whose number fits the width: that number with zeros in
// front up to the width, taken from the digits themselves.
void ZeroFilled(std::string_view digits, std::size_t width, std::string& code) {
    const std::string_view significant = Significant(digits);
    code.assign(width - significant.size(), '0');
    code.append(significant);
}

// Whether `kod` is a long weighted code this scale takes under `mode`: thirteen characters, and
// the mode's own prefix for modes 1-9.
bool WeightedCodeOfThisScale(const std::string& kod, int mode) {
    if (kod.size() != 13) return false;
    // Modes 1-9 take the prefixes 21-29.
    return !(mode >= 1 && mode <= 9 && (kod[0] != '2' || kod[1] != static_cast<char>('0' + mode)));
}

}  // namespace

bool SkalnixAction::LacksCodeTemplates(const KSTowRec& goods) const {
    return Settings.WeightedCodeMode != 0 && Settings.CodeTemplates.empty() &&
           WeightedCodeOfThisScale(goods.kod, Settings.WeightedCodeMode);
}

bool SkalnixAction::FormatPluCode(const KSTowRec& goods, std::string& code) {
    const bool seriesM = Settings.Series == "M";
    const int width = seriesM ? 5 : 6;
    const std::string& kod = goods.kod;

    if (Settings.WeightedCodeMode == 0) {
        // Short codes from the configured range.
        if (kod.size() > static_cast<std::size_t>(width) || !AllDigits(kod)) return false;
        const int number = CodeNumber(kod);  // an empty code ends the export here
        if (number < Settings.ShortCodeFirst || number > Settings.ShortCodeLast) return false;
        ZeroFilled(kod, static_cast<std::size_t>(width), code);  // its digits are the number
        return true;
    }

    // Long weighted codes: the prefix selects the host's template, whose letters G and S mark
    // the sub-group and article digits.
    if (!WeightedCodeOfThisScale(kod, Settings.WeightedCodeMode)) return false;
    const auto tmpl =
        std::find_if(Settings.CodeTemplates.begin(), Settings.CodeTemplates.end(), [&](const std::string& t) {
            return t.size() >= 2 && t[0] == kod[0] && t[1] == kod[1];  // kod has 13 characters
        });
    if (tmpl == Settings.CodeTemplates.end()) return false;

    // The template's G and S letters, and where its first G stands; most goods of an export
    // share one template, so its reading is kept.
    if (codeTemplate_.text != *tmpl) {
        codeTemplate_ = CodeTemplateDigits{*tmpl, 0, 0, std::string::npos};
        for (std::size_t k = 0; k < tmpl->size(); ++k) {
            const char c = (*tmpl)[k];
            if (c == 'G') {
                if (codeTemplate_.groupDigits++ == 0) codeTemplate_.groupPos = k;
            } else if (c == 'S') {
                ++codeTemplate_.articleDigits;
            }
        }
    }
    const std::size_t groupDigits = codeTemplate_.groupDigits;
    const std::size_t articleDigits = codeTemplate_.articleDigits;
    const std::size_t groupPos = codeTemplate_.groupPos;

    if (groupDigits == 0 && Settings.SubGroup != -1 && Settings.SubGroupOnly) return false;
    if (groupDigits > 0 && Settings.SubGroup != -1 &&
        CodeNumber(Part(kod, groupPos, groupDigits)) != Settings.SubGroup)  // non-digits end the export
        return false;

    const std::string_view text = Settings.SendGroup
                                 ? Part(kod, 2, groupDigits + articleDigits)
                                 : Part(kod, groupDigits + 2, articleDigits);
    // A template without code digits leaves nothing to send: rejected like any other code
    // that does not fit the templates.
    if (text.empty() || !AllDigits(text)) {
        dibal::AddRejection(RejectedList, goods, "matujerror_loAddIntToStr_00001",
                            "tujerror_loAdd_towreckod_00001",
                            " (towar opatrzony kodem kreskowym niezgodnym z konfiguracją kodów "
                            "ważonych)");
        return false;
    }
    // A number above the largest of `width` digits does not fit the PLU code.
    if (Significant(text).size() > static_cast<std::size_t>(width)) {
        dibal::AddRejection(RejectedList, goods, "matujerror_loAddIntToStr_00002",
                            "tujerror_loAdd_towreckod_00002",
                            " (kody o tym formacie nie mogą być przesane do wagi - konflikt "
                            "formatów)");
        return false;
    }
    ZeroFilled(text, static_cast<std::size_t>(width), code);
    return true;
}
