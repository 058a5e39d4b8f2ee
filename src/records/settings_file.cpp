#include "records/settings_file.h"

#include <algorithm>
#include <charconv>

#include "records/file_operations.h"

#ifdef _WIN32
#include <windows.h>

#include <cstring>

#include "records/code_page.h"
#endif

namespace quimbra::records {
namespace {

// A new key is a member of Settings and a row here. A yes-or-no key takes no, off, false and 0
// (any case; a DWORD 0 for a policy value) as no, any other value as yes, and none as its
// default; a number key takes a whole number within its bounds, and none as its default.
struct Key {
    const char* name;       // in the file
    const wchar_t* policy;  // the policy value
    std::string Settings::*text;
    bool Settings::*yesNo;
    int Settings::*number = nullptr;
    int least = 0;
    int most = 0;
};
constexpr Key keys[] = {
    {"records-folder", L"RecordsFolder", &Settings::recordsFolder, nullptr},
    {"class-sheet", L"ClassSheet", nullptr, &Settings::classSheet},
    {"read-aloud", L"ReadAloud", nullptr, &Settings::readAloud},
    {"read-aloud-rate", L"ReadAloudRate", nullptr, nullptr, &Settings::readAloudRate,
     minReadAloudRate, maxReadAloudRate},
};

std::string_view trimmed(std::string_view text) {
    text.remove_prefix(std::min(text.find_first_not_of(" \t\r"), text.size()));
    return text.substr(0, text.find_last_not_of(" \t\r") + 1);  // npos + 1 is 0
}

// Why the value does not fit the key ("" when it does).
std::string set(Settings& settings, const Key& key, std::string_view value) {
    static const Settings defaults;
    if (key.text != nullptr) {
        settings.*key.text = value;
    } else if (key.yesNo != nullptr) {
        std::string lower(value);
        std::ranges::transform(lower, lower.begin(), [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        });
        settings.*key.yesNo =
            value.empty() ? defaults.*key.yesNo
                          : lower != "no" && lower != "off" && lower != "false" && lower != "0";
    } else if (value.empty()) {
        settings.*key.number = defaults.*key.number;
    } else {
        int number = 0;
        const char* end = value.data() + value.size();
        const auto read = std::from_chars(value.data(), end, number);
        if (read.ec != std::errc{} || read.ptr != end || number < key.least || number > key.most) {
            return "imposta " + std::string(key.name) + " a \"" + std::string(value) +
                   "\", ma va da " + std::to_string(key.least) + " a " + std::to_string(key.most);
        }
        settings.*key.number = number;
    }
    return {};
}

Settings refused(const std::string& path, const std::string& why) {
    Settings none;
    none.unreadable = "Non riesco a leggere il file delle impostazioni \"" + path + "\": " + why +
                      ". Chiedi aiuto al tecnico della scuola.";
    return none;
}

}  // namespace

std::string classSheetOffReason(const Settings& settings) {
    if (settings.classSheet) {
        return {};
    }
    const std::string off =
        "Il registro è spento su questo computer: il tecnico della scuola lo ha disattivato ";
#ifdef _WIN32
    return off + "(criterio ClassSheet).";
#else
    return off + "(class-sheet = no in " + settingsFile + ").";
#endif
}

Settings settingsFromText(std::string_view text, const std::string& path) {
    text.remove_prefix(text.starts_with("\xEF\xBB\xBF") ? 3 : 0);  // some Windows editors put one
    Settings settings;
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t end = text.find('\n');
        const std::string_view line = trimmed(text.substr(0, end));
        text = end == std::string_view::npos ? "" : text.substr(end + 1);
        if (line.empty() || line.front() == '#') {
            continue;
        }
        const std::size_t equals = line.find('=');
        const std::string_view name = trimmed(line.substr(0, equals));
        const Key* key = std::ranges::find(keys, name, &Key::name);
        const std::string row = "la riga " + std::to_string(number);
        if (equals == std::string_view::npos) {
            return refused(path, row + " non è né un commento né un'impostazione");
        }
        if (key == std::end(keys)) {
            return refused(path, row + " imposta \"" + std::string(name) +
                                     "\", che non è un'impostazione conosciuta");
        }
        const std::string misfit = set(settings, *key, trimmed(line.substr(equals + 1)));
        if (!misfit.empty()) {
            return refused(path, row + " " + misfit);
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

Settings technicianSettings() {
#ifdef _WIN32
    Settings settings;
    for (const Key& key : keys) {
        // Text (REG_EXPAND_SZ expanded) or a DWORD; the buffer grows if the value does meanwhile.
        std::wstring value(MAX_PATH, L'\0');
        DWORD type = 0;
        LSTATUS status = ERROR_MORE_DATA;
        for (int attempt = 0; attempt < 3 && status == ERROR_MORE_DATA; ++attempt) {
            DWORD bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
            status = RegGetValueW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Policies\\Quimbra", key.policy,
                                  RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, value.data(), &bytes);
            value.resize(status == ERROR_MORE_DATA ? bytes / sizeof(wchar_t) + 1 : value.size());
        }
        if (status == ERROR_SUCCESS && type == REG_DWORD) {
            DWORD number = 0;
            std::memcpy(&number, value.data(), sizeof number);
            // A DWORD out of bounds (the template keeps it within them) stays at its default.
            (void)set(settings, key, std::to_string(number));
        } else if (status == ERROR_SUCCESS) {
            (void)set(settings, key, trimmed(wideToUtf8(value.substr(0, value.find(L'\0')))));
        }
    }
    return settings;
#else
    return settingsFromFile(settingsFile);
#endif
}

}  // namespace quimbra::records
