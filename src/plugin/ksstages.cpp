// TKSActionBase: lines in the host's operation window - messages, progress stages and the
// failure report of an operation.
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/hostbuffer.h"
#include "plugin/ksactionbase.h"
#include "plugin/kslibrary.h"
#include "runtime/exceptions.h"
#include "runtime/xtools.h"

namespace {

const std::string kStatus(1, TARGO_STATUS_SEPARATOR);

// Lines of a text split at CR, LF and CR LF; a final line break adds no empty line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n') continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

int KindOfStage(int type) {
    if (type == stageError) return msgError;
    if (type == stageWarning) return msgWarning;
    return msgInfo;
}

std::string Percent(int position, int maximum) {
    // 64-bit so that large positions do not overflow before the division.
    const std::int64_t percent = static_cast<std::int64_t>(position) * 100 / maximum;
    return std::to_string(percent) + " %";
}

}  // namespace

void TKSActionBase::Message(int kind, const std::string& text) {
    if (auto add = reinterpret_cast<TargoCbMessage>(Callback(TARGO_CB_ADD_MESSAGE)))
        add(Library->HostContext(), OperationContext, kind, hostbuf::Outgoing(text).c_str());
    LastMessage = text;
}

std::string TKSActionBase::ReplaceMessage(int kind, const std::string& text) {
    std::string previous = LastMessage;
    SendReplacement(kind, text);
    return previous;
}

void TKSActionBase::SendReplacement(int kind, const std::string& text) {
    if (auto replace = reinterpret_cast<TargoCbMessage>(Callback(TARGO_CB_REPLACE_MESSAGE)))
        replace(Library->HostContext(), OperationContext, kind,
                hostbuf::OutgoingCStr(text, outgoing_));
    LastMessage = text;
}

void TKSActionBase::StartStage(const std::string& text, int type, int max) {
    const std::vector<std::string> lines = SplitLines(text);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool last = i + 1 == lines.size();
        std::string line = lines[i];
        switch (type) {
            case stageDone:
                if (last) line += kStatus + "OK";
                break;
            case stagePercent:
                if (last) line += ":" + kStatus + "0 %";
                break;
            case stageCounter:
                line += (last ? ":" : "") + kStatus + "0";
                break;
            default:
                break;
        }
        Message(KindOfStage(type), line);
    }
    if (lines.empty()) return;
    StageCaption = lines.back();
    StageType = type;
    StageMax = max < 1 ? 1 : max;
    StagePos = 0;
}

void TKSActionBase::SetProgress(int position) {
    if (position == StagePos) return;
    StagePos = position;
    if (StageType != stagePercent && StageType != stageCounter) return;
    const std::int64_t value = StageType == stagePercent
                                   ? static_cast<std::int64_t>(StagePos) * 100 / StageMax
                                   : StagePos;
    // A stage of a million goods moves once a goods: the line is rebuilt, in a kept buffer,
    // only when what it shows changes.
    if (value != progressValue_ || StageType != progressType_ || StageCaption != progressCaption_) {
        progressLine_.assign(StageCaption).append(":").append(kStatus);
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        progressLine_.append(digits, static_cast<std::size_t>(end - digits));
        if (StageType == stagePercent) progressLine_.append(" %");
        progressValue_ = value;
        progressType_ = StageType;
        progressCaption_ = StageCaption;
    }
    SendReplacement(msgInfo, progressLine_);
}

void TKSActionBase::SetStageType(int type) {
    if (type == StageType) return;
    StageType = type;
    std::string line = StageCaption;
    switch (type) {
        case stageDone: line += kStatus + "OK"; break;
        case stagePercent: line += ":" + kStatus + Percent(StagePos, StageMax); break;
        case stageCounter: line += ":" + kStatus + std::to_string(StagePos); break;
        default: break;
    }
    ReplaceMessage(KindOfStage(type), line);
}

void TKSActionBase::FinalError(const std::string& operationName,
                               const std::exception* error) noexcept {
    try {
        std::string text;
        const auto* framework = dynamic_cast<const Exception*>(error);
        if (error == nullptr) {
            text = Text("TKSActioOstateczstr", "Podczas wykonywania operacji '") + operationName +
                   Text("TKSActioOstateczstr_00001", "' wystąpił nierozpoznawalny błąd");
        } else if (framework != nullptr && IsNameOfObjectParentClass(framework, "EAbort")) {
            text = Text("TKSActioOstateczstr_00002", "Operacja '") + operationName +
                   Text("TKSActioOstateczstr_00003", "' została przerwana");
        } else {
            text = Text("TKSActioOstateczstr_00004", "Podczas wykonywania operacji '") +
                   operationName + Text("TKSActioOstateczstr_00005", "' wystąpił błąd:\r\n");
            const auto* topics = dynamic_cast<const EMException*>(framework);
            if (topics != nullptr && IsNameOfObjectParentClass(framework, "EMException")) {
                for (int i = 0; i < topics->GetTopicCount(); ++i) {
                    const EMException::Topic& topic = topics->GetTopics(i);
                    text += "[" + std::to_string(topic.code) + "] " + topic.title + "\r\n" +
                            topic.description + "\r\n";
                }
            } else {
                text += error->what();
            }
        }
        StartStage(text, stageError, 100);
    } catch (...) {
    }
}
