// The DibalCom stand-in: options, command handshake and record marks.
#include "standin.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

namespace fs = std::filesystem;

namespace standin {
namespace {

std::string Trim(const std::string& text) {
    std::size_t first = 0, last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

bool AllDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string WithoutLeadingZeros(const std::string& digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

int ToInt(const std::string& text, int fallback) {
    try {
        return std::stoi(text);
    } catch (...) {
        return fallback;
    }
}

bool ReadWholeFile(const fs::path& path, std::string& data) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    data = buffer.str();
    return true;
}

}  // namespace

Controls ReadControls(const fs::path& file) {
    Controls controls;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = Trim(line.substr(0, eq));
        const std::string value = Trim(line.substr(eq + 1));
        if (name == "unmarked" && !value.empty())
            controls.unmarkedCodes.push_back(value);
        else if (name == "mark_delay_ms")
            controls.markDelayMs = std::max(0, ToInt(value, 0));
        else if (name == "never_take")
            controls.neverTake = ToInt(value, 0) != 0;
        else if (name == "idle_exit_s")
            controls.idleExitSeconds = std::max(1, ToInt(value, 60));
        else if (name == "die_on")
            controls.dieOn = value;
        else if (name == "on_stop")
            controls.onStop = value;
        else if (name == "single_instance")
            controls.singleInstance = ToInt(value, 0) != 0;
    }
    return controls;
}

std::string CodeField(const std::string& line) {
    const std::string type = line.size() >= 4 ? line.substr(2, 2) : std::string();
    std::size_t first = 7, width = 6;  // X1, L2, H2: characters 8-13
    if (type == "22")
        width = 5;  // characters 8-12
    else if (type == "L3" || type == "L4" || type == "H3" || type == "H4")
        first = 6;  // characters 7-12
    if (line.size() <= first)
        return {};
    return Trim(line.substr(first, width));
}

bool SameCode(const std::string& a, const std::string& b) {
    if (a == b)
        return true;
    return AllDigits(a) && AllDigits(b) && WithoutLeadingZeros(a) == WithoutLeadingZeros(b);
}

StandIn::StandIn(fs::path dir, Controls controls)
    : dir_(std::move(dir)), controls_(std::move(controls)) {}

void StandIn::Log(const std::string& line) const {
    std::ofstream out(dir_ / "dibalcom.log", std::ios::app | std::ios::binary);
    out << line << '\n';
}

bool StandIn::ReadOptions() {
    std::ifstream in(dir_ / "dibctrl.txt", std::ios::binary);
    if (!in) {
        Log("error no dibctrl.txt");
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        Log("option " + line);
        const std::string value = line.size() > 3 ? Trim(line.substr(3)) : std::string();
        if (line.rfind("-t ", 0) == 0 && !value.empty())
            recordFile_ = value;
        else if (line.rfind("-c ", 0) == 0 && !value.empty())
            commandFile_ = value;
    }
    return true;
}

bool StandIn::TakeCommand(std::string& command) {
    const fs::path path = dir_ / commandFile_;
    std::error_code ec;
    if (!fs::exists(path, ec))
        return false;
    std::string data;
    if (!ReadWholeFile(path, data))
        return false;
    // Deleting the file is what tells the driver the command was taken; try again next poll
    // when the file is still busy.
    if (!fs::remove(path, ec) || ec)
        return false;
    command = Trim(data.substr(0, data.find_first_of("\r\n")));
    return true;
}

void StandIn::MarkLines() {
    const fs::path path = dir_ / recordFile_;
    std::string data;
    if (!ReadWholeFile(path, data))
        return;
    const bool oneAtATime = controls_.markDelayMs > 0;
    if (oneAtATime &&
        Clock::now() - lastMark_ < std::chrono::milliseconds(controls_.markDelayMs))
        return;
    // The marks are single bytes written in place: the file never changes its length, so the
    // driver may read it at any moment.
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    if (!out)
        return;
    std::size_t start = 0;
    while (start < data.size()) {
        std::size_t end = data.find('\n', start);
        if (end == std::string::npos)
            end = data.size();
        std::string line = data.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const bool keepUnmarked = std::any_of(
            controls_.unmarkedCodes.begin(), controls_.unmarkedCodes.end(),
            [&](const std::string& code) { return SameCode(CodeField(line), code); });
        if (line.size() >= 3 && line[2] != '*' && !keepUnmarked) {
            out.seekp(static_cast<std::streamoff>(start + 2));
            out.put('*');
            ++marked_;
            if (oneAtATime) {
                lastMark_ = Clock::now();
                break;
            }
        }
        start = end + 1;
    }
    out.flush();
}

void StandIn::SpoilRecordFile() {
    const fs::path path = dir_ / recordFile_;
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec) return;
    fs::resize_file(path, controls_.onStop == "cut" ? size / 2 : 0, ec);
    Log("record-file " + controls_.onStop);
}

int StandIn::Run() {
    Log("start");
    // One DibalCom to a directory: a second one ends at once and leaves the work to the first.
    const fs::path running = dir_ / "dibalcom.run";
    std::error_code ec;
    if (controls_.singleInstance && !fs::create_directory(running, ec)) {
        Log("another instance runs");
        return 0;
    }
    struct Leave {
        fs::path path;
        bool remove;
        ~Leave() {
            std::error_code ignored;
            if (remove) fs::remove(path, ignored);
        }
    } leave{running, controls_.singleInstance};
    if (!ReadOptions())
        return 1;
    Log("record-file " + recordFile_);
    Log("command-file " + commandFile_);
    const auto idleLimit = std::chrono::seconds(controls_.idleExitSeconds);
    auto lastCommand = Clock::now();
    for (;;) {
        std::string command;
        if (!controls_.neverTake && TakeCommand(command)) {
            lastCommand = Clock::now();
            Log("command " + command);
            if (!controls_.dieOn.empty() && command == controls_.dieOn) {
                Log("die");
                return 3;
            }
            if (command == "s") {
                sending_ = true;
            } else if (command == "S") {
                sending_ = false;
                Log("marked " + std::to_string(marked_));
                if (!controls_.onStop.empty()) SpoilRecordFile();
            } else if (command == "G") {
                Log("exit");
                return 0;
            }
        }
        if (sending_)
            MarkLines();
        if (Clock::now() - lastCommand >= idleLimit) {
            Log("idle exit");
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
}

}  // namespace standin
