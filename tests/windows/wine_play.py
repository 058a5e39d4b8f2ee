#!/usr/bin/python3
"""Plays the Windows build of Quimbra under Wine, one case per run.

    wine_play.py --prefix WINEPREFIX --build DIR --case NAME [--screenshot PNG]
    wine_play.py --list

The real quimbra.exe runs with Windows' own platform plugin in a private X
server; it is driven by keys (xdotool) and read through its window titles,
screenshots and the record files it leaves in the Wine prefix.
"""

import argparse
import csv
import glob
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
from xml.etree import ElementTree

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from wine_desktop import WINE, Failure, TimedOut, WineDesktop, run_case, wait_for  # noqa: E402

TITLE = " " * 40 + "Gioca con le frazioni per gli alunni della II Sez.A - Buon carnevale!"
APPLICATION = "Quimbra"
CONFIRMATION = "Uscire dal programma"
MENU_ENTRY = "Quimbra — Gioca con le frazioni.lnk"
WHITEBOARD_ENTRY = "Quimbra alla lavagna.lnk"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quimbra"
POLICY_KEY = r"HKLM\Software\Policies\Quimbra"
SHARE = r"\\server\quimbra"
HOME_PAGE = "https://quimbra.example/"
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")
# A name that only a single-byte Windows code page holds as one byte.
NAME = "Niccolò"
CASE_TIMEOUT = 240


def check(condition, message):
    if not condition:
        raise Failure(message)


def check_equal(actual, expected, what):
    check(actual == expected, f"{what}: expected {expected!r}, got {actual!r}")


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def finish(process, what, timeout=120):
    """The exit status of a process, which must end within timeout seconds."""
    try:
        return process.wait(timeout=timeout)
    except subprocess.TimeoutExpired:
        raise TimedOut(f"{what} did not end within {timeout} s") from None


def run(desktop, *argv, timeout=120):
    """Runs a Windows program to its end; its exit status."""
    what = os.path.basename(argv[0])
    return finish(desktop.run_windows(what, *argv), what, timeout)


def registry(desktop, key):
    """`reg query /s` of a key of the 64-bit view ("" when it is missing)."""
    # Into a file, not a pipe: a Wine server that reg starts, and its services, would
    # hold a pipe open long after reg has ended.
    with tempfile.TemporaryFile() as out:
        query = subprocess.Popen([WINE, "reg", "query", key, "/s", "/reg:64"], env=desktop.env,
                                 stdin=subprocess.DEVNULL, stdout=out, stderr=subprocess.DEVNULL)
        if finish(query, f"reg query {key}", 60) != 0:
            return ""
        out.seek(0)
        return out.read().decode(errors="replace")


def uninstall_entries(desktop):
    """Quimbra's entries in the installed-programs list, each as its values."""
    blocks = registry(desktop, UNINSTALL_KEY.rsplit("\\", 1)[0]).split("HKEY_")[1:]
    entries = [dict(re.findall(r"^ +(\S+) +REG_\w+ +(.*?)\s*$", b, re.M)) for b in blocks]
    return [e for e in entries if e.get("DisplayName", "").startswith("Quimbra")]


def shortcuts(desktop):
    """Where "Quimbra — Gioca con le frazioni" lies: "Desktop" or "Start Menu", for
    every user (an installer's) or one (Wine's msiexec puts all shortcuts there);
    "Quimbra alla lavagna" as "Start Menu, lavagna"."""
    # Links are not followed: none may lead the search out of the prefix.
    found = []
    for folder, _, files in os.walk(os.path.join(desktop.prefix, "drive_c")):
        for entry, suffix in ((MENU_ENTRY, ""), (WHITEBOARD_ENTRY, ", lavagna")):
            if entry in files:
                found.append(("Start Menu" if "Start Menu" in folder else "Desktop") + suffix)
    return sorted(found)


def dos(path):
    return "Z:" + path.replace("/", "\\")


def windows_version(desktop, version):
    check_equal(run(desktop, "winecfg", "/v", version), 0, f"winecfg /v {version}")


def starts_to_name_prompt(desktop, program):
    game = desktop.run_windows("quimbra", program)
    desktop.wait_window(APPLICATION)
    check(game.poll() is None, "the installed game ended at its name prompt")
    os.kill(game.pid, signal.SIGTERM)
    finish(game, "the game, told to end,", 20)


def folders(desktop, leaving_out):
    """Every folder of drive C: but Windows' own and those under leaving_out."""
    drive = desktop.wine_path("C:\\")
    found = set()
    for top, names, _ in os.walk(drive):
        names[:] = [n for n in names if os.path.join(top, n) not in leaving_out
                    and os.path.join(top, n) != os.path.join(drive, "windows")]
        found.update(os.path.relpath(os.path.join(top, n), drive) for n in names)
    return found


def records_dir(desktop):
    # Every account's games keep the one record of the computer there.
    return desktop.wine_path(r"C:\ProgramData\Quimbra")


def enter_name(desktop, name):
    prompt = desktop.wait_window(APPLICATION)
    desktop.type_text(name)
    desktop.keys("Return")
    desktop.wait_window_gone(prompt)
    desktop.answer(APPLICATION, "Return")  # the greeting
    return desktop.wait_window(TITLE)


def case_plays(desktop, build, screenshot):
    """A whole game: name, answer, Alt+X No, Alt+X Yes, farewell, a record of 0 over -1."""
    folder = records_dir(desktop)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "vondu.txt"), "wb") as f:
        f.write(b"-1\r\n")
    with open(os.path.join(folder, "nvondu.txt"), "wb") as f:
        f.write(b"Old\r\n")

    game = desktop.run_windows("quimbra", os.path.join(build, "src", "window", "quimbra.exe"))
    window = enter_name(desktop, NAME)
    # Never the base (a few hundred at most; 0 may be one): the score stays 0.
    desktop.type_text("9999")
    desktop.keys("Return")
    time.sleep(1.0)
    if screenshot:
        desktop.screenshot(window, screenshot)

    # Alt+X, and No (the default button): the game goes on.
    desktop.keys("alt+x")
    desktop.answer(CONFIRMATION, "Return")
    check(game.poll() is None, "the game ended after No")
    check(desktop.windows_titled(TITLE), "the game window is gone after No")

    # Alt+X, Yes, the farewell, then the record box.
    desktop.xdotool("windowactivate", "--sync", window)
    desktop.keys("alt+x")
    desktop.answer(CONFIRMATION, "Tab", "Return")  # from No to Yes
    farewell = wait_for("the farewell", lambda: desktop.windows_where(
        lambda title: title.startswith("Data ")), timeout=15)
    title = desktop.title_of(farewell[-1])
    check(title[len("Data "):].count("/") == 2,
          f"the farewell's title is not 'Data ' and a date: {title!r}")
    desktop.keys("Return")
    desktop.wait_window(APPLICATION)  # "Ok ho registrato il tuo record, ..."
    desktop.keys("Return")
    check_equal(finish(game, "the game, after the record box,", 20), 0, "exit code")
    check_equal(read_bytes(os.path.join(folder, "vondu.txt")), b"0\r\n", "score file")
    check_equal(read_bytes(os.path.join(folder, "nvondu.txt")),
                NAME.encode("cp1252") + b"\r\n", "name file")
    # The computer as Windows names it (Wine: the host name in capitals), not the DNS host name.
    sheet = read_bytes(os.path.join(folder, "registro.csv")).decode("utf-8-sig")
    check_equal(list(csv.reader(sheet.splitlines(), delimiter=";"))[-1][-1],
                os.uname().nodename.split(".")[0].upper()[:15], "the class sheet's computer")
    # The lock file stays on Windows: no game may delete what another holds.
    leftovers = [p for p in os.listdir(folder)
                 if "vondu" in p and not p.endswith("vondu.txt") and p != "vondu.lock"]
    check_equal(leftovers, [], "files left beside the records")


def case_installer(desktop, build, screenshot):
    """The installer, silent: program, Start menu, uninstall entry, records folder;
    the installed game starts; the silent uninstall keeps the records."""
    installers = glob.glob(os.path.join(build, "Quimbra-*-win64.exe"))
    check(len(installers) == 1, f"expected one installer in {build}, found {installers}")
    windows_version(desktop, "win10")
    check_equal(run(desktop, installers[0], "/S"), 0, "installer exit code")

    program = desktop.wine_path(r"C:\Program Files\Quimbra\quimbra.exe")
    folder = os.path.dirname(program)
    check(os.path.isfile(program) and os.path.isfile(os.path.join(folder, "COPYING.txt")),
          f"{program} or the licence beside it is missing")
    menu = glob.glob(os.path.join(desktop.prefix, "drive_c", "ProgramData", "Microsoft",
                                  "Windows", "Start Menu", "Programs", MENU_ENTRY))
    check(menu, f"no Start menu entry {MENU_ENTRY!r}")
    whiteboard = glob.glob(os.path.join(os.path.dirname(menu[0]), WHITEBOARD_ENTRY))
    check(whiteboard and "--lavagna".encode("utf-16-le") in read_bytes(whiteboard[0]),
          f"no Start menu entry {WHITEBOARD_ENTRY!r} starting the game with --lavagna")
    others = []
    for entry, switch in (("Quimbra con la voce.lnk", "--voce"),
                          ("Registro di Quimbra.lnk", "--registro")):
        link = os.path.join(os.path.dirname(menu[0]), entry)
        others.append(link)
        check(os.path.isfile(link) and switch.encode("utf-16-le") in read_bytes(link),
              f"no Start menu entry {entry!r} starting the game with {switch}")
    desktop_link = glob.glob(os.path.join(desktop.prefix, "drive_c", "users", "Public",
                                          "Desktop", MENU_ENTRY))
    check(desktop_link, f"no desktop shortcut {MENU_ENTRY!r}")
    records = records_dir(desktop)
    check(os.path.isdir(records), f"{records} is missing")
    listing = registry(desktop, UNINSTALL_KEY)
    check("DisplayName" in listing and "Quimbra" in listing,
          f"no uninstall entry {UNINSTALL_KEY}: {listing!r}")

    entry = uninstall_entries(desktop)[0]
    check_equal((entry.get("HelpLink"), entry.get("URLInfoAbout")), (HOME_PAGE, HOME_PAGE), "links")
    check(int(entry.get("EstimatedSize", "0"), 16) >= os.path.getsize(program) // 1024,
          f"EstimatedSize {entry.get('EstimatedSize')} is below the program's size")

    starts_to_name_prompt(desktop, program)

    # A record that the uninstaller must leave alone.
    kept = os.path.join(records, "vondu.txt")
    with open(kept, "wb") as f:
        f.write(b"7\r\n")
    uninstaller = desktop.wine_path(r"C:\Program Files\Quimbra\disinstalla.exe")
    check_equal(run(desktop, uninstaller, "/S"), 0, "uninstaller exit code")
    # It goes on from a copy of itself in the temporary folder.
    wait_for("the program's folder to be removed", lambda: not os.path.exists(folder), timeout=60)
    wait_for("the shortcuts to be removed",
             lambda: not any(glob.glob(p) for p in (menu[0], whiteboard[0], desktop_link[0], *others)),
             timeout=30)
    check_equal(read_bytes(kept), b"7\r\n", "the record after uninstalling")

    windows_version(desktop, "win7")
    check(run(desktop, installers[0], "/S") != 0, "the installer did not refuse Windows 7")
    check(not os.path.exists(program), "the installer installed on Windows 7")

    # A technician's folder, no desktop shortcut and a records folder; a bare
    # reinstall then finds that folder by itself.
    windows_version(desktop, "win10")
    custom = r"C:\Giochi\Quimbra"
    check_equal(run(desktop, installers[0], "/S", "/NODESKTOP", "/RECORDSFOLDER=" + SHARE, "/VOCE",
                    "/D=" + custom), 0, "installer exit code with /D=")
    check_equal(shortcuts(desktop), ["Start Menu", "Start Menu, lavagna"],
                "shortcuts with /NODESKTOP")
    check(SHARE in registry(desktop, POLICY_KEY) and "ReadAloud" in registry(desktop, POLICY_KEY),
          f"{POLICY_KEY} holds no {SHARE}, or no ReadAloud after /VOCE")
    check_equal(run(desktop, installers[0], "/S"), 0, "installer exit code on reinstalling")
    check(os.path.isfile(desktop.wine_path(custom + r"\quimbra.exe")) and not os.path.exists(program),
          f"the reinstall did not go to {custom} alone")
    check_equal([e.get("InstallLocation") for e in uninstall_entries(desktop)], [custom],
                "the installed-programs entries")


def case_msi(desktop, build, screenshot):
    """The MSI, silent: installed with a desktop shortcut, the game starts, an upgrade
    to a higher version keeps one entry and the shortcut and writes RECORDSFOLDER, the
    uninstall keeps the records; refused without Windows 10."""
    packages = glob.glob(os.path.join(build, "Quimbra-*-win64.msi"))
    check(len(packages) == 1, f"expected one MSI in {build}, found {packages}")
    windows_version(desktop, "win10")
    major = int(re.search(r"Quimbra-(\d+)\.", packages[0]).group(1))
    upgrade = os.path.join(desktop.prefix, f"Quimbra-{major + 1}.0.0-win64.msi")
    made = subprocess.run([os.path.join(SOURCE, "scripts", "windows-msi"), f"{major + 1}.0.0",
                           os.path.join(build, "src", "window", "quimbra.exe"), "", upgrade],
                          stdin=subprocess.DEVNULL, timeout=120)
    check_equal(made.returncode, 0, "windows-msi of the higher version")
    msiexec = ("msiexec", "/qn", "/i")

    program = desktop.wine_path(r"C:\Program Files\Quimbra\quimbra.exe")
    # Uninstalling removes no folder outside the program's own: an empty
    # Desktop (as a new school profile has) included. The game itself may
    # have made folders of its own meanwhile.
    outside = (os.path.dirname(program), records_dir(desktop))
    before = folders(desktop, outside)
    check_equal(run(desktop, *msiexec, dos(packages[0]), "DESKTOPSHORTCUT=1", "READALOUD=1"), 0,
                "msiexec /i")
    licence = os.path.join(os.path.dirname(program), "COPYING.txt")
    check(os.path.isfile(program) and os.path.isfile(licence), f"{program} or {licence} is missing")
    check_equal(shortcuts(desktop), ["Desktop", "Start Menu", "Start Menu, lavagna"], "shortcuts")
    entries = uninstall_entries(desktop)
    check_equal([(e.get("Publisher"), e.get("HelpLink"), e.get("URLInfoAbout")) for e in entries],
                [("The Quimbra developers", HOME_PAGE, HOME_PAGE)], "the installed-programs entry")
    check("quimbra.ico" in registry(desktop, r"HKLM\Software\Classes\Installer\Products"),
          "no icon for the installed-programs entry")
    starts_to_name_prompt(desktop, program)

    check_equal(run(desktop, *msiexec, dos(upgrade), "RECORDSFOLDER=" + SHARE, "CLASSSHEET=0"), 0,
                "upgrade")
    check_equal([e.get("DisplayVersion") for e in uninstall_entries(desktop)], [f"{major + 1}.0.0"],
                "entries after the upgrade")
    check_equal(shortcuts(desktop), ["Desktop", "Start Menu", "Start Menu, lavagna"],
                "shortcuts after the upgrade")
    check(SHARE in registry(desktop, POLICY_KEY) and "ReadAloud" in registry(desktop, POLICY_KEY),
          f"{POLICY_KEY} holds no {SHARE}, or lost ReadAloud in the upgrade")

    records = records_dir(desktop)
    os.makedirs(records, exist_ok=True)
    with open(os.path.join(records, "vondu.txt"), "wb") as f:
        f.write(b"7\r\n")
    check_equal(run(desktop, "msiexec", "/qn", "/x", dos(upgrade)), 0, "msiexec /x")
    check(not os.path.exists(program) and not os.path.exists(licence), f"{program} is still there")
    check_equal((shortcuts(desktop), uninstall_entries(desktop), registry(desktop, POLICY_KEY)),
                ([], [], ""), "shortcuts, entries and policy after uninstalling")
    check_equal(read_bytes(os.path.join(records, "vondu.txt")), b"7\r\n", "the kept record")
    check_equal(sorted(before - folders(desktop, outside)), [], "folders the package removed")

    # Windows 7 and 8 have no such value.
    run(desktop, "reg", "delete", r"HKLM\Software\Microsoft\Windows NT\CurrentVersion", "/v",
        "CurrentMajorVersionNumber", "/f", "/reg:64")
    check(run(desktop, *msiexec, dos(packages[0])) != 0, "msiexec did not refuse Windows 8")
    check(not os.path.exists(program), "the MSI installed on Windows 8")


def case_signatures(desktop, build, screenshot):
    """With the test's throwaway certificate: quimbra.exe, the installer, the uninstaller
    it writes and the MSI verify; the files of the unsigned build carry no signature."""
    signed = os.environ.get("QUIMBRA_SIGNED_BUILD", build + "-signed")
    installer, msi = (glob.glob(os.path.join(signed, f"Quimbra-*-win64.{ext}")) for ext in ("exe", "msi"))
    check(len(installer) == 1 and len(msi) == 1, f"no signed installer and MSI in {signed}")
    windows_version(desktop, "win10")
    check_equal(run(desktop, installer[0], "/S"), 0, "signed installer exit code")
    uninstaller = desktop.wine_path(r"C:\Program Files\Quimbra\disinstalla.exe")
    for path, verifies in ((os.path.join(signed, "src", "window", "quimbra.exe"), True),
                           (installer[0], True), (uninstaller, True), (msi[0], True),
                           (os.path.join(build, "src", "window", "quimbra.exe"), False)):
        result = subprocess.run(["osslsigncode", "verify", "-CAfile",
                                 os.path.join(signed, "throwaway", "certificate.pem"), "-in", path],
                                capture_output=True, text=True, timeout=60)
        check_equal(result.returncode == 0, verifies, f"signature of {path}: {result.stdout[-200:]}")


def case_policy_template(desktop, build, screenshot):
    """Each text the administrative template names is in both languages, each box
    fits its element, and the first policy's value is the one the game reads."""
    ns = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
    policy = os.path.join(SOURCE, "data", "windows", "policy")
    admx = ElementTree.parse(os.path.join(policy, "quimbra.admx"))
    text = ElementTree.tostring(admx.getroot(), encoding="unicode")
    named = set(re.findall(r"\$\((string|presentation)\.(\w+)\)", text))
    element = admx.find(".//p:policy", ns)
    check_equal((element.get("key"), element.find(".//p:text", ns).get("valueName")),
                (r"SOFTWARE\Policies\Quimbra", "RecordsFolder"), "the policy value")
    for language in ("it-IT", "en-US"):
        adml = ElementTree.parse(os.path.join(policy, language, "quimbra.adml"))
        defined = {("string", e.get("id")) for e in adml.iterfind(".//p:string", ns)}
        defined |= {("presentation", e.get("id")) for e in adml.iterfind(".//p:presentation", ns)}
        check_equal(named - defined, set(), f"texts missing from {language}")
        # Each box of the presentations names its element of the policies, in order.
        for box, kind in (("textBox", "text"), ("decimalTextBox", "decimal")):
            check_equal([e.get("refId") for e in adml.iterfind(f".//p:{box}", ns)],
                        [e.get("id") for e in admx.iterfind(f".//p:elements/p:{kind}", ns)],
                        f"{language} {box}es")


# What every Windows 10 and 11 has; anything else would have to travel with
# the program.
SYSTEM_DLLS = {
    "advapi32", "comctl32", "comdlg32", "d3d11", "d3d12", "d3d9", "dwmapi", "dwrite", "dxgi",
    "gdi32", "imm32", "kernel32", "msvcrt", "netapi32", "ole32", "oleaut32", "setupapi",
    "shell32", "shcore", "shlwapi", "user32", "userenv", "uxtheme", "version", "winmm",
    "ws2_32", "wtsapi32", "mpr", "authz", "rpcrt4", "secur32", "ntdll", "usp10", "bcrypt",
    "crypt32", "winspool.drv", "d2d1", "msimg32", "oleacc", "uiautomationcore", "powrprof",
}


def case_alone(desktop, build, screenshot):
    """quimbra.exe and the zip: a windowed 64-bit program that needs only Windows' DLLs,
    and its licence."""
    exe = os.path.join(build, "src", "window", "quimbra.exe")
    headers = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", exe], capture_output=True,
                             text=True, check=True).stdout
    dlls = {line.split("DLL Name:")[1].strip().lower().removesuffix(".dll")
            for line in headers.splitlines() if "DLL Name:" in line}
    check(dlls, "no imports read from quimbra.exe")
    foreign = sorted(d for d in dlls - SYSTEM_DLLS if not d.startswith("api-ms-win-"))
    check_equal(foreign, [], "DLLs that do not come with Windows")
    check("Subsystem\t\t00000002" in headers, "quimbra.exe is not a windowed (GUI) program")
    check("file format pei-x86-64" in headers, "quimbra.exe is not a 64-bit program")
    zips = glob.glob(os.path.join(build, "Quimbra-*-win64.zip"))
    check(len(zips) == 1, f"expected one zip in {build}, found {zips}")
    listing = subprocess.run(["unzip", "-Z1", zips[0]], capture_output=True, text=True,
                             check=True).stdout.split()
    check_equal(sorted(listing), ["COPYING.txt", "quimbra.exe"], "what the zip holds")


CASES = {name[len("case_"):]: f for name, f in globals().items() if name.startswith("case_")}


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--prefix", help="the Wine prefix (created beforehand)")
    parser.add_argument("--build", help="the Windows build directory")
    parser.add_argument("--case", choices=sorted(CASES))
    parser.add_argument("--screenshot", help="where the plays case saves the window")
    parser.add_argument("--list", action="store_true", help="name the cases and stop")
    args = parser.parse_args()
    if args.list:
        print("\n".join(sorted(CASES)))
        return 0
    if not (args.prefix and args.build and args.case):
        parser.error("--prefix, --build and --case are needed")


    def play():
        with WineDesktop(args.prefix) as desktop:
            CASES[args.case](desktop, os.path.abspath(args.build), args.screenshot)

    return run_case(args.case, play, CASE_TIMEOUT)

if __name__ == "__main__":
    sys.exit(main())
