#!/usr/bin/env python3
"""Checks the Persian texts the sources show against the reviewed list beside this script.

Every string literal with an Arabic-script letter in documents/, backend/, app/ and devserver/
must be a corrected form in the list, and no such text may hold a form the list corrects (a word
run together or split where Persian writes a half-space, a missing space around brackets).

    check_texts.py REPOSITORY            check, exit status 1 on a finding
    check_texts.py REPOSITORY --dump     print every text found, one a line, with its files
"""
import difflib
import os
import re
import sys
import unicodedata

FOLDERS = ("documents", "backend", "app", "devserver")
SUFFIXES = (".qml", ".js", ".mjs", ".cpp", ".h")
LIST = os.path.join(os.path.dirname(os.path.abspath(__file__)), "persian-texts.tsv")
ZWNJ = "\u200c"


def is_arabic_letter(ch):
    return unicodedata.category(ch).startswith("L") and "ARABIC" in unicodedata.name(ch, "")


def literals(source, cpp):
    """Yields (line, text) of every string literal, as written (escapes kept), outside comments."""
    i, line, n = 0, 1, len(source)
    while i < n:
        ch = source[i]
        if ch == "\n":
            line += 1
            i += 1
        elif source.startswith("//", i):
            while i < n and source[i] != "\n":
                i += 1
        elif source.startswith("/*", i):
            end = source.find("*/", i + 2)
            end = n if end < 0 else end + 2
            line += source.count("\n", i, end)
            i = end
        elif cpp and ch == "R" and i + 1 < n and source[i + 1] == '"' and not (
                i > 0 and (source[i - 1].isalnum() or source[i - 1] == "_")):
            open_paren = source.find("(", i + 2)
            delimiter = ")" + source[i + 2:open_paren] + '"'
            end = source.find(delimiter, open_paren + 1)
            end = n if end < 0 else end
            body = source[open_paren + 1:end]
            if '"' in body:  # a document held in the program: its own literals are the texts
                for inner, text in literals(body, False):
                    yield line + inner - 1, text
            else:
                yield line, body
            line += source.count("\n", i, end)
            i = end + len(delimiter)
        elif ch in "\"'`" and not (cpp and ch == "'" and i > 0 and source[i - 1].isalnum()):
            text, j = "", i
            while True:
                start = j = j + 1
                while j < n and source[j] != ch and not (ch != "`" and source[j] == "\n"):
                    j += 2 if source[j] == "\\" else 1
                text += source[start:j]
                # C++ joins adjacent literals: a text clang-format split is still one text.
                following = j + 1
                while cpp and following < n and source[following] in " \t\n":
                    following += 1
                if not (cpp and ch == '"' and following < n and source[following] == '"'):
                    break
                j = following
            yield line, text
            line += source.count("\n", i, j)
            i = j + 1
        else:
            i += 1


def source_texts(repository):
    """Maps each Persian text of the sources to the places it is written."""
    found = {}
    for folder in FOLDERS:
        for root, _, files in os.walk(os.path.join(repository, folder)):
            for name in sorted(files):
                if not name.endswith(SUFFIXES):
                    continue
                path = os.path.join(root, name)
                with open(path, encoding="utf-8") as f:
                    source = f.read()
                for line, text in literals(source, name.endswith((".cpp", ".h"))):
                    if any(is_arabic_letter(ch) for ch in text):
                        place = "%s:%d" % (os.path.relpath(path, repository), line)
                        found.setdefault(text, []).append(place)
    return found


def read_list():
    """Rows of (original, corrected); '#' lines and blank lines are notes."""
    rows = []
    with open(LIST, encoding="utf-8") as f:
        for number, row in enumerate(f, 1):
            row = row.rstrip("\n")
            if not row or row.startswith("#"):
                continue
            fields = row.split("\t")
            if len(fields) != 2:
                sys.exit("%s:%d: expected ORIGINAL<TAB>CORRECTED" % (LIST, number))
            rows.append((fields[0], fields[1]))
    return rows


def words(text):
    """The words of a text with where each stands; an escape such as \\n is a word of its own."""
    return [(m.group(), m.start(), m.end()) for m in re.finditer(r"\\.|[\w" + ZWNJ + "]+", text)]


def wrong_forms(rows):
    """The stretches of words each correction replaced, as the original wrote them: a word run
    together ("میشود"), words split apart ("می شود")."""
    forms = {}
    for original, corrected in rows:
        before, after = words(original), words(corrected)
        matcher = difflib.SequenceMatcher(None, [w for w, _, _ in before], [w for w, _, _ in after],
                                          autojunk=False)
        for tag, b0, b1, a0, a1 in matcher.get_opcodes():
            if tag == "replace":
                forms.setdefault(original[before[b0][1]:before[b1 - 1][2]],
                                 corrected[after[a0][1]:after[a1 - 1][2]])
    return forms


# A bracket or punctuation mark without its space, next to a letter: "دستگاه(ریست)", "درب،کاپوت".
SPACING = [
    (re.compile(r"[^\W\d_]\("), "a space before \"(\""),
    (re.compile(r"\)[^\W\d_]"), "a space after \")\""),
    (re.compile(r"[،؛][^\W\d_]"), "a space after \"،\" and \"؛\""),
    (re.compile(r"[^\W\d_]{2}[.!؟:][^\W\d_]"), "a space after a full stop"),
]


def containing(text, form):
    edge = r"[\w" + ZWNJ + "]"
    return re.search("(?<!" + edge + ")" + re.escape(form) + "(?!" + edge + ")", text)


def problems(text, forms):
    """What a text lacks that the list puts elsewhere, or a space the punctuation needs."""
    found = ["%r written as %r" % (right, form)
             for form, right in forms.items() if containing(text, form)]
    found += [what for pattern, what in SPACING if pattern.search(text)]
    return found


def main():
    sys.stdout.reconfigure(encoding="utf-8", errors="backslashreplace")
    repository = sys.argv[1]
    found = source_texts(repository)
    if "--dump" in sys.argv:
        for text in sorted(found):
            print(text + "\t" + " ".join(found[text]))
        return 0
    rows = read_list()
    corrected = {after for _, after in rows}
    correction = {before: after for before, after in rows if before != after}
    forms = wrong_forms(rows)
    failures = []
    for after in sorted(corrected):
        for problem in problems(after, forms):
            failures.append("the list's corrected form %r still lacks %s: correct the row"
                            % (after, problem))
    for text in sorted(found):
        places = ", ".join(found[text])
        if text in correction:
            failures.append("%s: %r still lacks its half-spaces or spaces; write it as the list "
                            "corrects it: %r" % (places, text, correction[text]))
        elif text not in corrected:
            found_problems = problems(text, forms)
            failures.append(
                "%s: %r is not in tests/texts/persian-texts.tsv. Review it as a Persian editor "
                "(a half-space U+200C after the prefix می/نمی, before the plural ها/های after a "
                "joining letter, in compounds; a space around brackets and after commas), write "
                "the corrected form in the source and add one row ORIGINAL<TAB>CORRECTED to the "
                "list (the same text twice when nothing changes)%s"
                % (places, text, (". It lacks " + "; ".join(found_problems)) if found_problems else ""))
        else:
            for problem in problems(text, forms):
                failures.append("%s: %r lacks %s" % (places, text, problem))
    for failure in failures:
        print(failure)
    print("%d Persian texts in the sources, %d rows in the list, %d findings"
          % (len(found), len(rows), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
