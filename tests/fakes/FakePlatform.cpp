#include "tests/fakes/FakePlatform.h"

#include <algorithm>
#include <cstring>

namespace {

class StringFile : public seam::InputFile {
public:
    explicit StringFile(std::string data) : data_(std::move(data)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, data_.size() - pos_);
        std::memcpy(buffer, data_.data() + pos_, n);
        pos_ += n;
        return n;
    }

private:
    std::string data_;
    std::size_t pos_ = 0;
};

struct Control {
    int id;
    const char* text;
};

// The controls of the program's dialog templates, as the resource script lays them out.
std::vector<Control> TemplateControls(int templateId) {
    if (templateId == 102)
        return {{1, "Change the port"}, {1000, "Serivo Port : "}, {1001, ""}, {1002, ""}, {1003, "Printer Type : "}, {2, "E&xit"}};
    if (templateId == 100) return {{1, "OK"}};
    return {};
}

const char* TemplateCaption(int templateId) {
    if (templateId == 102) return "VORTAN Serivo Port Information";
    if (templateId == 100) return "About Ravelix";
    return "";
}

std::string CommandWord(const std::string& commandLine) {
    // "--output <path> <command> ..." -> "<command>"
    std::size_t p = commandLine.find(' ');
    if (p == std::string::npos) return {};
    p = commandLine.find(' ', p + 1);
    if (p == std::string::npos) return {};
    const std::size_t e = commandLine.find(' ', p + 1);
    return commandLine.substr(p + 1, e == std::string::npos ? std::string::npos : e - p - 1);
}

std::string OutputPath(const std::string& commandLine) {
    const std::size_t p = commandLine.find(' ');
    if (p == std::string::npos) return {};
    const std::size_t e = commandLine.find(' ', p + 1);
    return commandLine.substr(p + 1, e == std::string::npos ? std::string::npos : e - p - 1);
}

}  // namespace

std::string Joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const auto& l : lines) all += l + "\n";
    return all;
}

FakePlatform::FakePlatform() { seam::SetPlatform(this); }
FakePlatform::~FakePlatform() { seam::SetPlatform(nullptr); }

unsigned FakePlatform::AnsiCodePage() { return codePage; }
std::uint16_t FakePlatform::SystemDefaultLangId() { return langId; }
bool FakePlatform::IsLeadByte(unsigned char byte) {
    return std::find(leadBytes.begin(), leadBytes.end(), byte) != leadBytes.end();
}
std::string FakePlatform::ModuleFileName() { return modulePath; }
bool FakePlatform::SetCurrentFolder(const std::string& path) {
    journal.push_back("cd: " + path);
    if (path.empty()) return false;
    currentFolder = path;
    return true;
}
std::string FakePlatform::SystemFolder() { return systemFolder; }
bool FakePlatform::RemoveFile(const std::string& path) {
    journal.push_back("delete: " + path);
    return files.erase(path) > 0;
}
std::unique_ptr<seam::InputFile> FakePlatform::OpenForReading(const std::string& path) {
    auto it = files.find(path);
    if (it == files.end()) return nullptr;
    return std::make_unique<StringFile>(it->second);
}

int FakePlatform::SetupMain(const char* programName, const char* commandLine) {
    const std::string line = commandLine;
    setupCalls.push_back(line);
    journal.push_back(std::string("setup: ") + programName + " " + line);
    const std::string word = CommandWord(line);
    auto answer = setupAnswers.find(word);
    if (answer != setupAnswers.end()) files[OutputPath(line)] = answer->second;
    if (onSetupCall) onSetupCall(line);
    return 0;
}

unsigned FakePlatform::ReadPrivateProfile(const char* section, const char* key, const char* defaultValue,
                                          char* buffer, unsigned size, const char* file) {
    std::string value = defaultValue ? defaultValue : "";
    auto f = privateProfiles.find(file);
    if (f != privateProfiles.end()) {
        auto s = f->second.find(section);
        if (s != f->second.end()) {
            auto k = s->second.find(key);
            if (k != s->second.end()) value = k->second;
        }
    }
    if (size == 0) return 0;
    const unsigned n = std::min<unsigned>(static_cast<unsigned>(value.size()), size - 1);
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return n;
}

bool FakePlatform::WritePrivateProfile(const char* section, const char* key, const char* value, const char* file) {
    journal.push_back(std::string("ini: ") + file + " [" + section + "] " + key + "=" + (value ? value : "(delete)"));
    if (value)
        privateProfiles[file][section][key] = value;
    else
        privateProfiles[file][section].erase(key);
    return true;
}

bool FakePlatform::WriteSystemProfile(const char* section, const char* key, const char* value) {
    if (systemProfileWritesFail) {
        lastError = 5;
        journal.push_back(std::string("ports: failed ") + (value ? "add " : "remove ") + key);
        return false;
    }
    if (value) {
        journal.push_back(std::string("profile: [") + section + "] add " + key + "=" + value);
        systemProfile[section][key] = value;
    } else {
        journal.push_back(std::string("profile: [") + section + "] remove " + key);
        systemProfile[section].erase(key);
    }
    return true;
}

unsigned FakePlatform::LastError() { return lastError; }
void FakePlatform::BroadcastProfileChange(const char* section) { journal.push_back(std::string("broadcast: ") + section); }

bool FakePlatform::EnumPrinters(unsigned flags, unsigned char* buffer, unsigned size, unsigned* needed,
                                unsigned* returned) {
    journal.push_back("enumerate printers: flags " + std::to_string(flags));
    *returned = 0;
    if (enumerationFails) {
        *needed = 0;
        return false;
    }
    // The records first, then their texts, as the spooler lays them out.
    std::size_t total = printers.size() * sizeof(seam::PrinterInfo2);
    for (const auto& p : printers) {
        if (p.name) total += p.name->size() + 1;
        if (p.port) total += p.port->size() + 1;
    }
    *needed = static_cast<unsigned>(total);
    if (!buffer || size < total) return false;
    std::memset(buffer, 0, total);
    auto* records = reinterpret_cast<seam::PrinterInfo2*>(buffer);
    char* text = reinterpret_cast<char*>(buffer + printers.size() * sizeof(seam::PrinterInfo2));
    auto put = [&text](const std::optional<std::string>& s) -> char* {
        if (!s) return nullptr;
        char* at = text;
        std::memcpy(text, s->c_str(), s->size() + 1);
        text += s->size() + 1;
        return at;
    };
    for (std::size_t i = 0; i < printers.size(); ++i) {
        records[i].pPrinterName = put(printers[i].name);
        records[i].pPortName = put(printers[i].port);
    }
    *returned = static_cast<unsigned>(printers.size());
    return true;
}

bool FakePlatform::RunHiddenProcess(const std::string& application, const std::string& commandLine) {
    processes.push_back(application + "|" + commandLine);
    journal.push_back("run: " + commandLine);
    return !processesFail;
}

void FakePlatform::ShowWaitCursor(bool on) { journal.push_back(on ? "cursor: wait" : "cursor: normal"); }

int FakePlatform::RunModalDialog(int templateId, seam::Handle owner, DialogSink& sink) {
    const seam::Handle dialog = NewHandle();
    Window& w = windows[dialog];
    w.templateId = templateId;
    w.owner = owner;
    w.text = TemplateCaption(templateId);
    w.rect = templateId == 102 ? seam::Rect{0, 0, 330, 200} : seam::Rect{0, 0, 350, 90};
    for (const Control& c : TemplateControls(templateId)) {
        const seam::Handle h = NewHandle();
        windows[h].parent = dialog;
        windows[h].id = c.id;
        windows[h].text = c.text;
        windows[h].visible = true;
    }
    journal.push_back("dialog: " + std::to_string(templateId) + " opens");
    sinks_[dialog] = &sink;
    openDialogs.push_back(dialog);
    if (owner) Win(owner).enabled = false;

    std::intptr_t result = 0;
    sink.OnDialogMessage(dialog, 0x0110, 0, 0, &result);
    if (!results_.count(dialog)) {
        windows[dialog].visible = true;
        journal.push_back("dialog: " + std::to_string(templateId) + " shown");
        DeliverPosted();
        auto user = userInDialog.find(templateId);
        if (user != userInDialog.end() && !results_.count(dialog)) user->second(dialog);
        DeliverPosted();
    }

    int ended = results_.count(dialog) ? results_[dialog] : -1;
    if (owner) Win(owner).enabled = true;
    openDialogs.pop_back();
    sinks_.erase(dialog);
    windows[dialog].visible = false;
    journal.push_back("dialog: " + std::to_string(templateId) + " closed with " + std::to_string(ended));
    return ended;
}

void FakePlatform::EndModalDialog(seam::Handle dialog, int result) {
    journal.push_back("end dialog: " + std::to_string(result));
    results_[dialog] = result;
}

seam::Handle FakePlatform::DialogItem(seam::Handle dialog, int id) {
    for (auto& [h, w] : windows) {
        if (w.parent == dialog && w.id == id) return h;
    }
    return 0;
}

FakePlatform::Window& FakePlatform::Item(seam::Handle dialog, int id) { return windows.at(DialogItem(dialog, id)); }
FakePlatform::Window& FakePlatform::Win(seam::Handle window) { return windows.at(window); }

void FakePlatform::SetText(seam::Handle window, const std::string& utf8) {
    journal.push_back("text: " + std::to_string(windows.at(window).id) + " = " + utf8);
    windows.at(window).text = utf8;
}
std::string FakePlatform::GetText(seam::Handle window) { return windows.at(window).text; }
void FakePlatform::EnableWindow(seam::Handle window, bool enable) { windows.at(window).enabled = enable; }
bool FakePlatform::IsWindowEnabled(seam::Handle window) { return windows.at(window).enabled; }
bool FakePlatform::IsWindowVisible(seam::Handle window) { return windows.at(window).visible; }
bool FakePlatform::IsIconic(seam::Handle window) { return windows.at(window).iconic; }
void FakePlatform::MakeTopMost(seam::Handle window) {
    journal.push_back("topmost");
    windows.at(window).topMost = true;
}
seam::Rect FakePlatform::WindowRect(seam::Handle window) { return windows.at(window).rect; }
seam::Rect FakePlatform::ClientRect(seam::Handle window) {
    const seam::Rect r = windows.at(window).rect;
    return {0, 0, r.Width(), r.Height()};
}
seam::Rect FakePlatform::WorkAreaOf(seam::Handle) { return workArea; }
void FakePlatform::MoveWindowTo(seam::Handle window, int x, int y) {
    seam::Rect& r = windows.at(window).rect;
    r = {x, y, x + r.Width(), y + r.Height()};
}

std::intptr_t FakePlatform::Send(seam::Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    journal.push_back("send: " + std::to_string(message));
    std::intptr_t result = 0;
    auto sink = sinks_.find(window);
    if (sink != sinks_.end()) sink->second->OnDialogMessage(window, message, wParam, lParam, &result);
    return result;
}

bool FakePlatform::Post(seam::Handle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    posted_.push_back({window, message, wParam, lParam});
    return true;
}

void FakePlatform::DeliverPosted() {
    while (!posted_.empty()) {
        const Posted p = posted_.front();
        posted_.erase(posted_.begin());
        SendTo(p.window, p.message, p.wParam, p.lParam);
    }
}

int FakePlatform::MessageBox(seam::Handle owner, const std::string& textUtf8, const std::string& captionUtf8,
                             unsigned flags) {
    boxes.push_back({owner, textUtf8, captionUtf8, flags});
    const char* kind = (flags & seam::mb::IconInformation) ? "info" : "warning";
    journal.push_back(std::string(kind) + ": " + captionUtf8 + ": " + textUtf8);
    if (userInMessageBox) userInMessageBox(textUtf8);
    return 1;
}

void FakePlatform::ComboReset(seam::Handle dialog, int id) {
    Item(dialog, id).items.clear();
    Item(dialog, id).selection = -1;
}
void FakePlatform::ComboRedraw(seam::Handle dialog, int id, bool on) { Item(dialog, id).redraw = on; }
int FakePlatform::ComboAdd(seam::Handle dialog, int id, const std::string& utf8) {
    auto& items = Item(dialog, id).items;
    items.push_back(utf8);
    return static_cast<int>(items.size()) - 1;
}
void FakePlatform::ComboSelect(seam::Handle dialog, int id, int position) {
    Window& combo = Item(dialog, id);
    combo.selection = (position >= 0 && position < static_cast<int>(combo.items.size())) ? position : -1;
}
int FakePlatform::ComboSelection(seam::Handle dialog, int id) { return Item(dialog, id).selection; }

seam::Handle FakePlatform::LoadAppIcon(int id) { return 0x900000 + static_cast<seam::Handle>(id); }
std::string FakePlatform::LoadAppString(int id) { return id == 101 ? "&About Ravelix..." : ""; }
void FakePlatform::SetIcons(seam::Handle window, seam::Handle icon) {
    windows.at(window).bigIcon = icon;
    windows.at(window).smallIcon = icon;
}
seam::Handle FakePlatform::SystemMenu(seam::Handle window) { return window + 1; }
void FakePlatform::AppendMenuSeparator(seam::Handle menu) { windows.at(menu - 1).menu.push_back("-"); }
void FakePlatform::AppendMenuItem(seam::Handle menu, unsigned id, const std::string& utf8) {
    windows.at(menu - 1).menu.push_back(std::to_string(id) + ":" + utf8);
}
seam::Handle FakePlatform::BeginPaint(seam::Handle window) {
    journal.push_back("paint: begin");
    return window + 2;
}
void FakePlatform::EndPaint(seam::Handle) { journal.push_back("paint: end"); }
void FakePlatform::DrawIcon(seam::Handle, int x, int y, seam::Handle) {
    journal.push_back("paint: icon at " + std::to_string(x) + "," + std::to_string(y));
}
int FakePlatform::IconWidth() { return 32; }
int FakePlatform::IconHeight() { return 32; }
void FakePlatform::ShowHelp(seam::Handle, const std::string& helpFile, unsigned context) {
    char ctx[16];
    std::snprintf(ctx, sizeof ctx, "%#x", context);
    journal.push_back("help: " + helpFile + " " + ctx);
}
void FakePlatform::Trace(const std::string& line) { traces.push_back(line); }

bool FakePlatform::SendTo(seam::Handle dialog, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    auto sink = sinks_.find(dialog);
    if (sink == sinks_.end()) return false;
    std::intptr_t result = 0;
    const bool handled = sink->second->OnDialogMessage(dialog, message, wParam, lParam, &result);
    DeliverPosted();
    return handled;
}

void FakePlatform::SendCommand(seam::Handle dialog, unsigned id, unsigned code) {
    SendTo(dialog, 0x0111, (static_cast<std::uintptr_t>(code) << 16) | id, static_cast<std::intptr_t>(DialogItem(dialog, static_cast<int>(id))));
}

void FakePlatform::Press(seam::Handle dialog, int buttonId) {
    // A disabled button cannot be pressed.
    if (!Item(dialog, buttonId).enabled) {
        journal.push_back("press ignored: disabled " + std::to_string(buttonId));
        return;
    }
    SendCommand(dialog, static_cast<unsigned>(buttonId), 0);
}

void FakePlatform::SelectInCombo(seam::Handle dialog, int comboId, int position) {
    ComboSelect(dialog, comboId, position);
    SendCommand(dialog, static_cast<unsigned>(comboId), 1);
}

void FakePlatform::PressF1(seam::Handle dialog) { SendTo(dialog, 0x0053, 0, 0); }
