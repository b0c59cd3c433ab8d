"""The two text faces, copied from Debian's Comic Neue package under the names the game
opens, with the package's copyright notice and licence (SIL Open Font Licence 1.1) beside
them. Debian ships the faces as OpenType (CFF outlines) only; FreeType reads them whatever
the file is called."""

import shutil
from pathlib import Path

FONT_DIR = Path("/usr/share/fonts/opentype/comic-neue")
COPYRIGHT = Path("/usr/share/doc/fonts-comic-neue/copyright")
FACES = {"comic_reg.ttf": "ComicNeue-Regular.otf", "comic_italic.ttf": "ComicNeue-Italic.otf"}
LICENCE_NAME = "comic_neue_licence.txt"


def font_stanza(text):
    """The copyright and licence of the font files from Debian's machine-readable
    copyright file (the stanza "Files: *"), as plain text."""
    stanzas = text.split("\n\n")
    stanza = next(s for s in stanzas if s.startswith("Files: *"))
    lines = []
    for line in stanza.splitlines()[1:]:
        if line.strip() == ".":
            lines.append("")                    # an empty line of a field's text
        elif line.startswith("  "):
            lines.append(line[2:])              # the licence text
        elif line.startswith(" "):
            lines.append("  " + line[1:])       # a field's continuation line
        else:
            lines.append(line)
    return "\n".join(lines).rstrip() + "\n"


def generate(out_dir):
    missing = [p for p in [COPYRIGHT] + [FONT_DIR / f for f in FACES.values()] if not p.exists()]
    if missing:
        raise SystemExit("fonts: install the Debian package fonts-comic-neue (missing "
                         + ", ".join(str(p) for p in missing) + ")")
    written = []
    for name, source in FACES.items():
        shutil.copyfile(FONT_DIR / source, out_dir / name)
        written.append(out_dir / name)
    header = ("Comic Neue, copied unmodified from the Debian package fonts-comic-neue:\n"
              + "".join(f"  {name} is {source}\n" for name, source in FACES.items()) + "\n")
    licence = out_dir / LICENCE_NAME
    licence.write_text(header + font_stanza(COPYRIGHT.read_text()))
    written.append(licence)
    return written
