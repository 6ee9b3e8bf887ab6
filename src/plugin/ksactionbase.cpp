// TKSActionBase: construction, the host callbacks, parameters and the virtual defaults.
// Messages, stages and the failure report live in ksstages.cpp.
#include "plugin/ksactionbase.h"

#include <climits>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "plugin/hostbuffer.h"
#include "plugin/kslibrary.h"
#include "runtime/exceptions.h"
#include "runtime/lgtools.h"
#include "runtime/xtools.h"

TKSActionBase::TKSActionBase(TKSLibrary* library, int opContext)
    : Library(library), OperationContext(opContext) {
    // Operation data from the host; the fields keep their start values without a callback.
    char text1[TARGODLL_BUFSIZE] = {};
    char text2[TARGODLL_BUFSIZE] = {};
    char exchangeDir[TARGODLL_DIRSIZE] = {};
    if (auto info = reinterpret_cast<TargoCbOperationInfo>(Callback(TARGO_CB_OPERATION_INFO)))
        info(Library->HostContext(), OperationContext, &HostValue1, &HostValue2, text1, text2,
             exchangeDir);
    HostText1 = hostbuf::ReadIn(text1);
    HostText2 = hostbuf::ReadIn(text2);
    ExchangeDir = hostbuf::ReadIn(exchangeDir, TARGODLL_DIRSIZE - 1);
}

TKSActionBase::~TKSActionBase() = default;

void* TKSActionBase::Callback(int type) const {
    return Library != nullptr ? Library->Callback(type) : nullptr;
}

bool TKSActionBase::HowToFindReceipt(int, int, int) { return false; }

void TKSActionBase::Operation(HTARGODLLSRODOWISKO&, int, int) {
    throw Exception(
        Text("TKSActioOperacjaExceptio", "Urządzenie nie obsługuje zleconego typu operacji"));
}

std::string TKSActionBase::DeviceProperty(int number) {
    return (number == 1101 || number == 1103) ? "0" : "";
}

int TKSActionBase::Unnamed() { return 10; }

const TMLgExtTools* TKSActionBase::GetLgTools() const {
    return Library != nullptr ? Library->LgTools() : nullptr;
}

std::string TKSActionBase::Text(const char* key, const char* defaultUtf8) const {
    return GetString(GetLgTools(), "kstools_KSLib", key, 0, defaultUtf8);
}

const std::vector<std::string>& TKSActionBase::HostList() {
    if (hostList_) return *hostList_;
    hostList_ = std::make_unique<std::vector<std::string>>();
    // The host ends the list: a zero answer or an empty item.
    for (int index = 0; index < INT_MAX; ++index) {
        auto item = reinterpret_cast<TargoCbListItem>(Callback(TARGO_CB_LIST_ITEM));
        if (item == nullptr) break;
        char buf[TARGODLL_BUFSIZE] = {};
        if (item(Library->HostContext(), OperationContext, index, buf) == 0) break;
        std::string text = Trim(hostbuf::ReadIn(buf));
        if (text.empty()) break;
        hostList_->push_back(std::move(text));
    }
    return *hostList_;
}

bool TKSActionBase::BreakRequested() {
    auto query = reinterpret_cast<TargoCbBreakQuery>(Callback(TARGO_CB_BREAK_QUERY));
    if (query == nullptr) return true;
    return query(Library->HostContext(), OperationContext) != 0;
}

void TKSActionBase::CheckBreak() {
    if (BreakRequested()) throw EAbort("Operation aborted");
}

std::string TKSActionBase::ParamAsString(const std::string& name) {
    auto value = reinterpret_cast<TargoCbParameterValue>(Callback(TARGO_CB_PARAMETER));
    if (value == nullptr) return std::string();
    char buf[TARGODLL_BUFSIZE] = {};
    const std::string outgoing = hostbuf::Outgoing(name);
    value(Library->HostContext(), OperationContext, outgoing.c_str(), buf);
    std::string text = hostbuf::ReadIn(buf);
    // A value that fills the buffer to its last character may have been cut by the host; a cut
    // path or text would be used as if it were whole.
    if (text.size() >= hostbuf::kMaxText)
        throw Exception(Text("TKSActioParamAsSExceptio",
                             "Wartość parametru jest za długa (300 znaków lub więcej), mogła "
                             "zostać obcięta: ") +
                        outgoing);
    return text;
}

int TKSActionBase::ParamAsInt(const std::string& name) {
    // A decimal integer with an optional sign that fits in 32 bits; anything else reads as 0.
    const std::string text = Trim(ParamAsString(name));
    std::size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) i = 1;
    if (i == text.size()) return 0;
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return 0;
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) return 0;
    }
    if (negative) value = -value;
    if (value < INT_MIN || value > INT_MAX) return 0;
    return static_cast<int>(value);
}

namespace {

// True when a new file can be created in `dir` (which ends with a separator or is empty). A
// file named "test" is the probe; when something of that name is already there it is left
// alone and a probe name that is free is used instead.
bool CanWriteIn(const std::string& dirWithSeparator) {
    std::string probe = dirWithSeparator + "test";
    for (int n = 1; platform::env().PathExists(probe); ++n) {
        if (n > 1000) return false;
        probe = dirWithSeparator + "test." + std::to_string(n) + ".tmp";
    }
    platform::env().CreateNewFile(probe, "test");
    if (!platform::env().FileExists(probe)) return false;
    platform::env().DeleteFile(probe);
    return true;
}

}  // namespace

std::string TKSActionBase::ParamAsDir(const std::string& name) {
    const std::string dir = ParamAsString(name);
    if (!platform::env().DirectoryExists(dir)) {
        Message(msgInfo, Text("TKSActioParamAsDstr", "Katalog \"") + dir +
                             Text("TKSActioParamAsDstrdir", "\" nie istnieje, próba utworzenia"));
        platform::env().CreateDirectories(dir);
        if (!platform::env().DirectoryExists(dir))
            throw Exception(
                Text("TKSActioParamAsDstr_00001", "Próba utworzenia katalogu zakończona błędem"));
    }
    std::string withSeparator = dir;
    if (!dir.empty() && !platform::IsPathSeparator(dir.back()))
        withSeparator += platform::kPathSeparator;
    if (!CanWriteIn(withSeparator))
        throw Exception(
            Text("TKSActioParamAsDstr_00002", "Targo nie ma uprawnień do zapisu w katalogu \"") +
            dir + Text("TKSActioParamAsDstrdir_00001", "\", nadaj uprawnienia aby kontynuować"));
    return dir;
}

void TKSActionBase::SaveResultToDatabase() {
    auto save = reinterpret_cast<TargoCbSaveResult>(Callback(TARGO_CB_SAVE_RESULT));
    if (save == nullptr || save(Library->HostContext(), OperationContext) == 0)
        throw Exception(
            Text("TKSActioZapiszWyExceptio", "Błąd zapisu wyniku eksportu do bazy danych"));
}
