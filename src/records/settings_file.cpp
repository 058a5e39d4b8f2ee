#include "records/settings_file.h"

#include "records/file_operations.h"

#ifdef _WIN32
#include <windows.h>

#include "records/code_page.h"
#endif

namespace quimbra::records {
namespace {

// One row per key: a new key is a member of Settings and a row here.
struct Key {
    const char* name;    // in the settings file
    const char* policy;  // the policy value: text, or a DWORD for yes or no
    std::string Settings::*text;
    std::optional<bool> Settings::*yesNo;
};
constexpr Key keys[] = {
    {"records-folder", "RecordsFolder", &Settings::recordsFolder, nullptr},
    {"class-sheet", "ClassSheet", nullptr, &Settings::classSheet},
};

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// No, off, false and 0, in any case, say no; any other value says yes.
bool saysYes(std::string_view value) {
    std::string lower(value);
    for (char& c : lower) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return lower != "no" && lower != "off" && lower != "false" && lower != "0";
}

Settings refused(const std::string& path, const std::string& why) {
    return {{},
            {},
            "Non riesco a leggere il file delle impostazioni \"" + path + "\": " + why +
                ". Chiedi aiuto al tecnico della scuola."};
}

}  // namespace

Settings settingsFromText(std::string_view text, const std::string& path) {
    // A byte-order mark, which some Windows editors put first.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    Settings settings;
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? "" : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::string row = "la riga " + std::to_string(number);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            return refused(path, row + " non è né un commento né un'impostazione");
        }
        const std::string_view name = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        const Key* key = nullptr;
        for (const Key& known : keys) {
            key = name == known.name ? &known : key;
        }
        if (key == nullptr) {
            return refused(path, row + " imposta \"" + std::string(name) +
                                     "\", che non è un'impostazione conosciuta");
        }
        if (key->text != nullptr) {
            settings.*key->text = value;
        } else {
            settings.*key->yesNo = value.empty() ? std::nullopt : std::optional(saysYes(value));
        }
    }
    return settings;
}

Settings settingsFromFile(const std::string& path) {
    // The whole file, however long, up to a size no settings file reaches.
    const ReadBytes read = systemFileOperations().readStart(path, maxSettingsBytes + 1);
    if (read.missing) {
        return {};
    }
    if (!read.ok()) {
        // The reason only: the message names the file its own way.
        const std::size_t reason = read.error.rfind("\": ");
        return refused(path, read.error.substr(reason + 3, read.error.size() - reason - 4));
    }
    if (read.bytes.size() > maxSettingsBytes) {
        return refused(path, "il file è troppo grande");
    }
    return settingsFromText(read.bytes, path);
}

#ifdef _WIN32
namespace {

// The policy value name as text (REG_SZ, or REG_EXPAND_SZ expanded); empty
// when unset.
std::string policyText(const std::wstring& name) {
    std::wstring value(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
        const LSTATUS status =
            RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", name.c_str(),
                         RRF_RT_REG_SZ, nullptr, value.data(), &bytes);
        if (status == ERROR_MORE_DATA) {
            value.assign(bytes / sizeof(wchar_t) + 1, L'\0');
            continue;
        }
        if (status != ERROR_SUCCESS) {
            return {};
        }
        value.resize(value.find(L'\0') == std::wstring::npos ? value.size() : value.find(L'\0'));
        return std::string(trimmed(wideToUtf8(value)));
    }
    return {};
}

}  // namespace

Settings technicianSettings() {
    Settings settings;
    for (const Key& key : keys) {
        const std::wstring name(key.policy, key.policy + std::string_view(key.policy).size());
        if (key.text != nullptr) {
            settings.*key.text = policyText(name);
            continue;
        }
        DWORD value = 0;
        DWORD bytes = sizeof value;
        if (RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", name.c_str(),
                         RRF_RT_REG_DWORD, nullptr, &value, &bytes) == ERROR_SUCCESS) {
            settings.*key.yesNo = value != 0;
        }
    }
    return settings;
}
#else
Settings technicianSettings() {
    return settingsFromFile(settingsFile);
}
#endif

}  // namespace quimbra::records
