#include "callbacks.h"

#include <algorithm>
#include <cstring>

#include "hostos.h"
#include "ini.h"
#include "session.h"

namespace host {

void CopyOut(const std::string& text, char* buffer, int size) {
    if (!buffer || size < 1) return;
    const size_t n = std::min(text.size(), static_cast<size_t>(size) - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

namespace {

// The driver's text, read no further than its 300 characters even if unterminated.
std::string_view DriverText(const char* text) {
    if (!text) return {};
    const void* end = std::memchr(text, '\0', TARGODLL_BUFSIZE - 1);
    return std::string_view(text, end ? static_cast<const char*>(end) - text
                                      : TARGODLL_BUFSIZE - 1);
}

}  // namespace

int TARGO_CALL OnBreakQuery(int, int) {
    Session* s = Session::Current();
    if (!s) return 1;
    SessionLog& log = s->Log();
    ++log.breakQueries;
    bool stop = InterruptRequested();
    if (!stop && s->Data().deadline && s->Data().deadline->Passed()) {
        if (!log.timedOut && s->Window() && !s->Window()->Lines().empty()) {
            const WindowLine& last = s->Window()->Lines().back();
            log.waitingFor = last.status.empty() ? last.text : last.text + " " + last.status;
        }
        log.timedOut = true;
        stop = true;
    }
    if (stop) log.breakAnswered = true;
    return stop ? 1 : 0;
}

int TARGO_CALL OnParameterValue(int, int, const char* name, char* value) {
    Session* s = Session::Current();
    if (!value) return 0;
    value[0] = '\0';
    if (!s || !name) return 0;
    const std::string_view wanted = DriverText(name);
    for (const auto& [key, text] : s->Data().parameters) {
        if (EqualsNoCase(key, wanted)) {
            CopyOut(text, value, TARGODLL_BUFSIZE);
            return 1;
        }
    }
    return 0;
}

int TARGO_CALL OnOperationInfo(int, int, int*, int*, char* text1, char* text2,
                               char* exchangeDir) {
    Session* s = Session::Current();
    CopyOut("", text1, TARGODLL_BUFSIZE);
    CopyOut("", text2, TARGODLL_BUFSIZE);
    CopyOut(s ? s->Data().exchangeDir : std::string(), exchangeDir, TARGODLL_DIRSIZE);
    return 1;
}

int TARGO_CALL OnAddMessage(int, int, int kind, const char* text) {
    Session* s = Session::Current();
    if (s && s->Window()) s->Window()->Add(kind, text ? std::string_view(text) : "");
    return 1;
}

int TARGO_CALL OnReplaceMessage(int, int, int kind, const char* text) {
    Session* s = Session::Current();
    if (s && s->Window()) s->Window()->Replace(kind, text ? std::string_view(text) : "");
    return 1;
}

int TARGO_CALL OnListItem(int, int, int index, char* item) {
    Session* s = Session::Current();
    if (!item) return 0;
    item[0] = '\0';
    if (!s || index < 0 || static_cast<size_t>(index) >= s->Data().templates.size()) return 0;
    CopyOut(s->Data().templates[static_cast<size_t>(index)], item, TARGODLL_BUFSIZE);
    return 1;
}

int TARGO_CALL OnSaveResult(int, int) {
    Session* s = Session::Current();
    if (!s) return 0;
    ++s->Log().saveRequests;
    s->Log().lastSaveAnswer = s->Data().refuseSave ? 0 : 1;
    return s->Log().lastSaveAnswer;
}

int TARGO_CALL OnLanguage(char* buffer, int size, const char* module, const char* key) {
    Session* s = Session::Current();
    if (!s || !s->Data().translations) return 0;
    return s->Data().translations->Lookup(module, key, buffer, size) ? 1 : 0;
}

}  // namespace host
