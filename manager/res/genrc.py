#!/usr/bin/env python3
"""Writes the Manager's resource script from resource.h, texts.py and layout.py.

    genrc.py OUTPUT.rc

The script holds one language-neutral block (accelerators, toolbar layout, bitmap, icons) and one
block per language with the string table, the menus and the dialogs, all built from the same
layouts. Nothing is written, and the exit status is 1, when the table or the layouts are not
consistent: a text without all five languages, a translation whose printf fields, tabs, line
breaks or "&" marks differ from the English, a duplicate mnemonic in a translated menu or
dialog, an unknown key or id, a command without its prompt string, a text the target code page
cannot hold.
"""
import importlib.util
import os
import re
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
# The tables are read as Python modules; the build must leave no byte-code in the source tree.
sys.dont_write_bytecode = True

# (code, LANGUAGE statement); the locale ids are the ones the Manager selects at start-up.
LANGUAGES = [
    ("en", "LANG_ENGLISH, SUBLANG_ENGLISH_US"),    # 1033
    ("de", "LANG_GERMAN, SUBLANG_GERMAN"),          # 1031
    ("fr", "LANG_FRENCH, SUBLANG_FRENCH"),          # 1036
    ("it", "LANG_ITALIAN, SUBLANG_ITALIAN"),        # 1040
    ("es", "LANG_SPANISH, SUBLANG_SPANISH"),        # 1034
]
CODEPAGE = "cp1252"
CODEPAGE_NUMBER = 1252

# Key names as printed on each language's keyboards, and the English name they stand for.
KEY_NAMES = {
    "de": (("Strg", "Ctrl"), ("Entf", "Del")),
    "fr": (("Suppr", "Del"),),
    "it": (("Canc", "Del"),),
    "es": (("Supr", "Del"),),
}

PRINTF_FIELD = re.compile(r"%(?:%|[-+ #0]*\d*(?:\.\d+)?(?:hh|h|ll|l|I64)?[diouxXcsSpeEfgG])")


class Problems:
    def __init__(self):
        self.list = []

    def add(self, text):
        self.list.append(text)


def load_module(name):
    modulespec = importlib.util.spec_from_file_location(name, os.path.join(HERE, name + ".py"))
    module = importlib.util.module_from_spec(modulespec)
    modulespec.loader.exec_module(module)
    return module


def read_ids(path):
    ids = {}
    pattern = re.compile(r"^\s*#\s*define\s+([A-Z_][A-Z0-9_]*)\s+\(?\s*(-?\d+)\s*\)?\s*(?:/\*.*)?$")
    with open(path, encoding="ascii") as f:
        for line in f:
            m = pattern.match(line)
            if m:
                ids[m.group(1)] = int(m.group(2))
    return ids


def mnemonic(text):
    """The character after a single "&", lower-cased; None without one."""
    i = 0
    while i < len(text):
        if text[i] == "&":
            if i + 1 < len(text) and text[i + 1] == "&":
                i += 2
                continue
            return text[i + 1].lower() if i + 1 < len(text) else None
        i += 1
    return None


def count_marks(text):
    return len(re.findall(r"(?<!&)&(?!&)", text.replace("&&", "")))


def check_texts(texts, ids, problems):
    table = {}
    for key, langs in texts:
        if key in table:
            problems.add(f"text {key}: listed twice")
            continue
        table[key] = langs
        english = langs.get("en")
        if not english:
            problems.add(f"text {key}: no English text")
            continue
        if key.isupper() and key not in ids:
            problems.add(f"text {key}: not an id in resource.h")
        for code, _ in LANGUAGES:
            value = langs.get(code)
            if not value:
                problems.add(f"text {key}: no {code} translation")
                continue
            try:
                value.encode(CODEPAGE)
            except UnicodeEncodeError:
                problems.add(f"text {key} ({code}): not representable in {CODEPAGE}")
            if code == "en":
                continue
            if PRINTF_FIELD.findall(value) != PRINTF_FIELD.findall(english):
                problems.add(f"text {key} ({code}): printf fields differ from the English")
            for mark, name in (("\n", "line feeds"), ("\r", "carriage returns"), ("\t", "tabs")):
                if value.count(mark) != english.count(mark):
                    problems.add(f"text {key} ({code}): {name} differ from the English")
            if count_marks(value) != count_marks(english):
                problems.add(f"text {key} ({code}): '&' marks differ from the English")
            if "\t" in english and "\t" in value:
                # The keys are the same everywhere; only their names on the keyboard differ.
                shortcut = value.split("\t")[1]
                for local, name in KEY_NAMES.get(code, ()):
                    shortcut = shortcut.replace(local, name)
                if shortcut != english.split("\t")[1]:
                    problems.add(f"text {key} ({code}): shortcut differs from the English")
    # Two names for one string id would give two entries for one number.
    seen = {}
    for key in table:
        if key.isupper() and key in ids:
            number = ids[key]
            if number in seen:
                problems.add(f"text {key}: string {number} already given as {seen[number]}")
            seen[number] = key
    return table


def check_mnemonics(where, keys, table, problems):
    """Within one popup or one dialog a translation must not use a mnemonic twice. The English
    texts are the program's established ones and are taken as they are."""
    for code, _ in LANGUAGES[1:]:
        used = {}
        for key in keys:
            if key not in table or not table[key].get(code):
                continue
            m = mnemonic(table[key][code])
            if m is None:
                continue
            if m in used and used[m] != key:
                problems.add(f"{where} ({code}): '&{m}' used by {used[m]} and {key}")
            used.setdefault(m, key)


def rc_string(text):
    out = []
    for ch in text:
        if ch == '"':
            out.append('""')
        elif ch == "\\":
            out.append("\\\\")
        elif ch == "\n":
            out.append("\\n")
        elif ch == "\r":
            out.append("\\r")
        elif ch == "\t":
            out.append("\\t")
        elif ord(ch) < 32:
            raise ValueError(f"control character {ord(ch)} in {text!r}")
        else:
            out.append(ch)
    return '"' + "".join(out) + '"'


def generate(ids, table, layout, problems):
    used_keys = set()
    prompts_needed = set()

    def need_text(key, where):
        if key not in table:
            problems.add(f"{where}: no text {key}")
        used_keys.add(key)

    def need_id(name, where):
        if name not in ids:
            problems.add(f"{where}: {name} is not in resource.h")

    # Consistency of the layouts themselves.
    for menu_id, popups in layout.MENUS:
        need_id(menu_id, f"menu {menu_id}")
        for kind, key, items in popups:
            need_text(key, f"menu {menu_id}")
            for entry in items:
                if entry[0] == "item":
                    need_text(entry[1], f"menu {menu_id}")
                    need_id(entry[2], f"menu {menu_id}")
                    prompts_needed.add(entry[2])
            check_mnemonics(f"menu {menu_id} popup {key}",
                            [e[1] for e in items if e[0] == "item"], table, problems)
        check_mnemonics(f"menu {menu_id} bar", [p[1] for p in popups], table, problems)
    for acc_id, keys in layout.ACCELERATORS:
        need_id(acc_id, "accelerators")
        for _, command, _ in keys:
            need_id(command, f"accelerators {acc_id}")
    for tb_id, width, height, buttons in layout.TOOLBARS:
        need_id(tb_id, "toolbar")
        for command in buttons:
            if command:
                need_id(command, f"toolbar {tb_id}")
                prompts_needed.add(command)
        images = sum(1 for c in buttons if c)
        if not any(b[0] == tb_id for b in layout.BITMAPS):
            problems.add(f"toolbar {tb_id}: no bitmap of the same id ({images} images)")
    for name, _ in layout.ICONS + layout.BITMAPS:
        need_id(name, "picture")
    for d in layout.DIALOGS:
        where = f"dialog {d['id']}"
        need_id(d["id"], where)
        need_text(d["caption"], where)
        control_ids = []
        for cls, key, cid, rect, style in d["controls"]:
            if cid not in ("IDOK", "IDCANCEL"):
                need_id(cid, where)
            if key and key.startswith("#"):
                need_id(key[1:], where)
            elif key:
                need_text(key, where)
            if cid not in ("IDC_STATIC",):
                if cid in control_ids:
                    problems.add(f"{where}: control {cid} listed twice")
                control_ids.append(cid)
            x, y, w, h = rect
            if x < 0 or y < 0 or x + w > d["size"][0] or y + h > d["size"][1]:
                problems.add(f"{where}: control {cid} at {rect} lies outside the dialog")
        check_mnemonics(where, [c[1] for c in d["controls"] if c[1] and not c[1].startswith("#")],
                        table, problems)
    for command in sorted(prompts_needed):
        if command not in table:
            problems.add(f"command {command}: no prompt string (prompt\\ntooltip)")
        elif "\n" not in table[command]["en"]:
            problems.add(f"command {command}: its string has no tooltip half")
    for key in table:
        if not key.isupper() and key not in used_keys:
            problems.add(f"text {key}: used by no menu or dialog")
    if problems.list:
        return None

    out = []
    w = out.append
    w("// Generated by genrc.py from resource.h, texts.py and layout.py. Do not edit.")
    w(f"#pragma code_page({CODEPAGE_NUMBER})")
    w("#include <windows.h>")
    w("#include <commctrl.h>")
    w('#include "resource.h"')
    w("")
    w("LANGUAGE LANG_NEUTRAL, SUBLANG_NEUTRAL")
    w("")
    for name, filename in layout.ICONS:
        w(f'{name} ICON "{filename}"')
    for name, filename in layout.BITMAPS:
        w(f'{name} BITMAP "{filename}"')
    w("")
    for acc_id, keys in layout.ACCELERATORS:
        w(f"{acc_id} ACCELERATORS")
        w("BEGIN")
        for key, command, mods in keys:
            flags = "VIRTKEY" + (", " + mods if mods else "") + ", NOINVERT"
            w(f"  {key}, {command}, {flags}")
        w("END")
        w("")
    for tb_id, width, height, buttons in layout.TOOLBARS:
        w("// Toolbar layout: version, image width, image height, button count, commands (0: gap).")
        w(f"{tb_id} RT_MANAGERTOOLBAR")
        w("BEGIN")
        entries = [c if c else "0" for c in buttons]
        w(f"  1, {width}, {height}, {len(buttons)},")
        w("  " + ", ".join(entries))
        w("END")
        w("")

    for code, language in LANGUAGES:
        w(f"// ---- {code} " + "-" * 80)
        w(f"LANGUAGE {language}")
        w("")
        w("STRINGTABLE")
        w("BEGIN")
        for key in sorted((k for k in table if k.isupper()), key=lambda k: ids[k]):
            w(f"  {key}, {rc_string(table[key][code])}")
        w("END")
        w("")
        for menu_id, popups in layout.MENUS:
            w(f"{menu_id} MENU")
            w("BEGIN")
            for _, key, items in popups:
                w(f"  POPUP {rc_string(table[key][code])}")
                w("  BEGIN")
                for entry in items:
                    if entry[0] == "separator":
                        w("    MENUITEM SEPARATOR")
                    else:
                        w(f"    MENUITEM {rc_string(table[entry[1]][code])}, {entry[2]}")
                w("  END")
            w("END")
            w("")
        for d in layout.DIALOGS:
            width, height = d["size"]
            w(f"{d['id']} DIALOGEX 0, 0, {width}, {height}")
            w(f"STYLE {layout.DIALOG_STYLE}")
            w(f"CAPTION {rc_string(table[d['caption']][code])}")
            w('FONT 8, "MS Shell Dlg", 400, 0, 0x1')
            w("BEGIN")
            for cls, key, cid, rect, style in d["controls"]:
                if key and key.startswith("#"):
                    text = key[1:]
                elif key:
                    text = rc_string(table[key][code])
                else:
                    text = '""'
                x, y, cx, cy = rect
                w(f'  CONTROL {text}, {cid}, "{cls}", {style}, {x}, {y}, {cx}, {cy}')
            w("END")
            w("")
    return "\n".join(out) + "\n"


def main(argv):
    if len(argv) != 2:
        print("usage: genrc.py OUTPUT.rc", file=sys.stderr)
        return 2
    problems = Problems()
    ids = read_ids(os.path.join(HERE, "resource.h"))
    texts = load_module("texts").TEXTS
    layout = load_module("layout")
    table = check_texts(texts, ids, problems)
    script = generate(ids, table, layout, problems) if not problems.list else None
    if problems.list:
        for p in problems.list:
            print(f"genrc.py: {p}", file=sys.stderr)
        print(f"genrc.py: {len(problems.list)} problem(s); {argv[1]} not written", file=sys.stderr)
        return 1
    data = script.encode(CODEPAGE)
    tmp = argv[1] + ".tmp"
    with open(tmp, "wb") as f:
        f.write(data)
    os.replace(tmp, argv[1])
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
