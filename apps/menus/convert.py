#!/usr/bin/env python3
"""Writes the sample menu files as the terminal stores them: code page 932 with CR LF.

The UTF-8 sources under src/ are what a person edits; the converted tree under Menu/ is what
is installed into the terminal's root.
"""
import pathlib

here = pathlib.Path(__file__).resolve().parent
for source in sorted((here / "src").rglob("*.mnu")):
    target = here / "Menu" / source.relative_to(here / "src")
    target.parent.mkdir(parents=True, exist_ok=True)
    text = source.read_text(encoding="utf-8").replace("\r\n", "\n")
    target.write_bytes(text.replace("\n", "\r\n").encode("cp932"))
    print(target.relative_to(here))
