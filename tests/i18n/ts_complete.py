#!/usr/bin/python3
"""Each translation file holds every message of the sources, each finished, with the
placeholders of its source text. lupdate reads the sources into copies of the files, so a
message added to the code and not yet translated shows up as unfinished.

usage: ts_complete.py LUPDATE SOURCE_ROOT TS_FILE...
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

PLACEHOLDER = re.compile(r"%(?:n|\d)")


def problems(path, name):
    found = []
    for context in ET.parse(path).getroot().iter("context"):
        context_name = context.findtext("name")
        for message in context.iter("message"):
            source = message.findtext("source")
            translation = message.find("translation")
            kind = translation.get("type")
            where = f"{name}: {context_name}: {source!r}"
            if kind in ("vanished", "obsolete"):
                found.append(f"{where}: no longer in the sources (run the permora_lupdate target)")
                continue
            if message.get("numerus") == "yes":
                texts = [form.text or "" for form in translation.iter("numerusform")]
            else:
                texts = [translation.text or ""]
            if kind == "unfinished" or not texts or not all(texts):
                found.append(f"{where}: not translated")
                continue
            wanted = sorted(set(PLACEHOLDER.findall(source)))
            for text in texts:
                if sorted(set(PLACEHOLDER.findall(text))) != wanted:
                    found.append(f"{where}: {text!r} does not keep the placeholders {wanted}")
    return found


def main():
    lupdate, root, files = sys.argv[1], sys.argv[2], sys.argv[3:]
    found = []
    with tempfile.TemporaryDirectory() as work:
        for path in files:
            name = os.path.basename(path)
            copy = os.path.join(work, name)
            shutil.copyfile(path, copy)
            subprocess.run(
                [lupdate, "-silent", "-locations", "none", "-extensions", "cpp,h", "-I", root,
                 os.path.join(root, "ui"), os.path.join(root, "resources", "templates"),
                 "-ts", copy],
                check=True, stdout=subprocess.DEVNULL)
            found += problems(copy, name)
    for line in found:
        print(line)
    print(f"{len(files)} translation files, {len(found)} problems")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
