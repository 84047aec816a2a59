#!/usr/bin/python3
"""The user manual (docs/manual) as a browser reading it from the disk sees it, and against the program's texts:

- every page is well-formed HTML5 in Spanish (lang="es", UTF-8), with every element closed in order;
- every relative link, stylesheet and image names a file of the manual, every #anchor an id of its page, and
  nothing is fetched from the network (the manual is read offline);
- every message the manual quotes (<code class="mensaje">, its variable parts in <var>) is the program's own:
  each fixed part between the variable ones is text of the program's sources;
- every message constant of the sources (kMensaje..., kPregunta...) is quoted in the manual, so that a new one
  cannot be left out.

Usage: manual_test.py SOURCE_DIR"""
import html.parser
import os
import re
import sys
import unittest
import urllib.parse

SOURCE = os.path.abspath(sys.argv[1])
MANUAL = os.path.join(SOURCE, "docs", "manual")
PAGES = sorted(name for name in os.listdir(MANUAL) if name.endswith(".html"))
# The libraries whose texts reach the user, and the front ends.
SOURCE_FOLDERS = ["platform", "storage", "run", "horarios", "export", "import", "diagnostico", "sesion", "ventana", "app"]
VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link", "meta", "source", "track", "wbr"}


def normalized(text):
    return " ".join(text.split())


class Page(html.parser.HTMLParser):
    """One page read: its structure errors, links, ids and quoted messages."""

    def __init__(self, name):
        super().__init__(convert_charrefs=True)
        self.name = name
        self.errors = []
        self.open = []
        self.ids = set()
        self.links = []  # (attribute, value)
        self.messages = []  # each a list of fixed parts
        self.message = None  # the parts of the message being read, the last one growing
        self.in_var = 0
        self.lang = None
        self.charset = None
        self.doctype = False

    def handle_decl(self, decl):
        self.doctype = self.doctype or decl.lower() == "doctype html"

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if tag == "html":
            self.lang = attributes.get("lang")
        if tag == "meta" and "charset" in attributes:
            self.charset = attributes["charset"]
        if "id" in attributes:
            if attributes["id"] in self.ids:
                self.errors.append(f"id {attributes['id']} twice")
            self.ids.add(attributes["id"])
        for attribute in ("href", "src"):
            if attribute in attributes:
                self.links.append((tag, attributes[attribute]))
        if tag == "code" and "mensaje" in (attributes.get("class") or "").split():
            if self.message is not None:
                self.errors.append(f"a message inside a message, line {self.getpos()[0]}")
            self.message = [""]
        if tag == "var" and self.message is not None:
            self.in_var += 1
            self.message.append("")
        if tag not in VOID:
            self.open.append((tag, self.getpos()[0]))

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID:
            self.handle_endtag(tag)

    def handle_endtag(self, tag):
        if tag in VOID:
            return
        if not self.open or self.open[-1][0] != tag:
            self.errors.append(f"</{tag}> at line {self.getpos()[0]} closes {self.open[-1] if self.open else 'nothing'}")
            return
        self.open.pop()
        if tag == "var" and self.message is not None:
            self.in_var -= 1
        if tag == "code" and self.message is not None:
            self.messages.append(self.message)
            self.message = None

    def handle_data(self, data):
        if self.message is not None and self.in_var == 0:
            self.message[-1] += data


def read_page(name):
    page = Page(name)
    with open(os.path.join(MANUAL, name), encoding="utf-8") as text:
        page.feed(text.read())
    page.close()
    return page


LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
ESCAPES = {"n": "\n", "r": "\r", "t": "\t", '"': '"', "\\": "\\", "'": "'", "0": "\0"}


def source_texts():
    """Every string literal of the sources, adjacent literals joined as the compiler joins them."""
    texts = []
    for folder in SOURCE_FOLDERS:
        for root, _, files in os.walk(os.path.join(SOURCE, folder)):
            for name in files:
                if not name.endswith((".cpp", ".h")):
                    continue
                with open(os.path.join(root, name), encoding="utf-8") as source:
                    code = source.read()
                code = re.sub(r"^\s*//.*$", "", code, flags=re.M)
                joined, end = None, None
                for literal in LITERAL.finditer(code):
                    value = re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), literal.group(1))
                    if joined is not None and code[end:literal.start()].strip() == "":
                        joined += value
                    else:
                        if joined is not None:
                            texts.append(joined)
                        joined = value
                    end = literal.end()
                if joined is not None:
                    texts.append(joined)
    return texts


def message_constants():
    """The text of each message constant (kMensaje..., kPregunta...) of the sources, up to its first %."""
    constants = {}
    pattern = re.compile(r"constexpr const char\*\s+(k(?:Mensaje|Pregunta)\w*)\s*=\s*((?:\s*\"(?:[^\"\\\n]|\\.)*\")+)")
    for folder in SOURCE_FOLDERS:
        for root, _, files in os.walk(os.path.join(SOURCE, folder)):
            for name in files:
                if name.endswith((".cpp", ".h")):
                    with open(os.path.join(root, name), encoding="utf-8") as source:
                        for found in pattern.finditer(source.read()):
                            text = "".join(re.sub(r"\\(.)", lambda m: ESCAPES.get(m.group(1), m.group(1)), part)
                                           for part in LITERAL.findall(found.group(2)))
                            constants[found.group(1)] = normalized(text.split("%")[0])
    return constants


def collapsed(text):
    """Runs of white space (line breaks included) as one blank, the ends kept."""
    return re.sub(r"\s+", " ", text)


class Literals:
    """The sources' literals, and whether a text is what the program shows for them: a text within one literal,
    or literals joined as a message is built where the value between them is also a literal (the end of one,
    whole ones, the start of another), as in "'3:'" + " no es un valor punto flotante válido" + ": " +
    "la exportación se detendrá aquí"."""

    def __init__(self, texts):
        texts = [collapsed(text) for text in texts if text]
        self.all = "\0" + "\0".join(texts) + "\0"
        self.whole = set(texts)
        self.longest = max(len(text) for text in texts)

    def Compose(self, text):
        if text in self.all:
            return True
        n = len(text)
        reached = [False] * (n + 1)
        for end in range(1, n):
            reached[end] = text[:end] + "\0" in self.all
        for start in range(1, n):
            if not reached[start]:
                continue
            if "\0" + text[start:] in self.all:
                return True
            for end in range(start + 1, min(n, start + self.longest) + 1):
                if text[start:end] in self.whole:
                    if end == n:
                        return True
                    reached[end] = True
        return False


class Manual(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.pages = {name: read_page(name) for name in PAGES}

    def test_pages_are_well_formed_spanish_html5(self):
        self.assertIn("index.html", self.pages)
        for name, page in self.pages.items():
            with self.subTest(page=name):
                self.assertTrue(page.doctype, "no <!DOCTYPE html>")
                self.assertEqual(page.lang, "es")
                self.assertEqual((page.charset or "").lower(), "utf-8")
                self.assertEqual(page.errors, [])
                self.assertEqual(page.open, [], "elements left open")

    def test_links_images_and_anchors_resolve_offline(self):
        for name, page in self.pages.items():
            for tag, link in page.links:
                with self.subTest(page=name, link=link):
                    parts = urllib.parse.urlsplit(link)
                    if tag == "a" and parts.scheme in ("http", "https", "mailto"):
                        continue  # a link the reader may follow; nothing the page needs
                    self.assertEqual(parts.scheme, "", "the manual must not fetch anything")
                    self.assertFalse(link.startswith("/"), "links are relative")
                    target = os.path.normpath(os.path.join(MANUAL, urllib.parse.unquote(parts.path))) if parts.path \
                        else os.path.join(MANUAL, name)
                    self.assertTrue(target.startswith(MANUAL + os.sep), "outside the manual")
                    self.assertTrue(os.path.isfile(target), f"{target} is missing")
                    if parts.fragment:
                        target_page = self.pages.get(os.path.relpath(target, MANUAL))
                        self.assertIsNotNone(target_page, "an anchor in a file that is no page")
                        self.assertIn(parts.fragment, target_page.ids)

    def test_every_image_is_used_and_small(self):
        used = set()
        for page in self.pages.values():
            used.update(os.path.normpath(link) for tag, link in page.links if tag == "img")
        folder = os.path.join(MANUAL, "imagenes")
        for image in sorted(os.listdir(folder)):
            with self.subTest(image=image):
                self.assertIn(os.path.join("imagenes", image), used, "an image no page shows")
                self.assertLess(os.path.getsize(os.path.join(folder, image)), 400_000)

    def test_quoted_messages_are_the_programs_own(self):
        literals = Literals(source_texts())
        quoted = 0
        for name, page in self.pages.items():
            for message in page.messages:
                quoted += 1
                for part in message:
                    fixed = collapsed(part).strip().strip("'").strip()
                    if fixed:
                        with self.subTest(page=name, text=fixed):
                            self.assertTrue(literals.Compose(fixed), "not a text of the program")
        self.assertGreater(quoted, 0)

    def test_every_message_constant_is_in_the_manual(self):
        shown = []
        for page in self.pages.values():
            for message in page.messages:
                shown.append(normalized("%".join(message)))
        for constant, text in message_constants().items():
            with self.subTest(constant=constant):
                self.assertTrue(any(message.startswith(text) or text in message for message in shown),
                                f"{text!r} is not quoted in the manual")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0]], verbosity=2)
