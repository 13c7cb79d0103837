#!/usr/bin/env python3
"""Checks the one dialect of the house over every product and test .cpp/.h file (and the headers that CMake
configures, .h.in), and lists each break of it as "file:line: rule: name". Exit status 0 when there is
none, 1 otherwise.

The rules (Qt's style, as the architecture guide asks under "Names"):

  type       classes, structs, unions, enums and type aliases (using X = ..., typedef): PascalCase.
  function   functions, methods, signals and slots: camelCase. Constructors, destructors and operators
             are not names of their own; `main` and libFuzzer's `LLVMFuzzerTestOneInput` are fixed by
             others; a Qt Test data function is its test's name and "_data". A lambda kept in a named
             constant is a function and is named as one. An out-of-class definition (X::name) is checked
             where it is declared.
  member     data behind a type's interface (in a private or protected part) is a member: camelCase_.
  field      data any user reaches by name (in a public part: every field of a plain value struct) is a
             field: camelCase, without the underscore, as in Qt's own public structs.
  constant   a value that lives for the whole run and never changes: a const or constexpr variable at
             namespace scope, a static const or static constexpr one in a class or a function, and any
             constexpr variable in a function: kPascalCase. A const local that is computed as the
             function runs is a variable, not a constant, and is not checked.
  enumerator the values of an enum: PascalCase without the k (Qt's own style: Qt::AlignLeft), for they
             are spelled after their type (Parity::Even).
  file       every .cpp and .h is named snake_case.
  test file  a .cpp under tests/ that holds a Qt Test main is named test_*.cpp; no file is tst_*.
  length     no function is longer than 100 lines (as pmccabe counts them; pmccabe must be installed,
             scripts/install-deps.sh). Aim under 60.

Local variables and parameters are not checked. The names of the designer's controls and variables live
on as captions, window titles, accessible names and objectNames (strings), never as C++ names; this script
sees no strings.

It reads the text, without compiling: clang-tidy's readability-identifier-naming would parse every file
with Qt's headers, minutes on two cores, where this takes about a second.

    scripts/check-names.py [FILE ...]      (default: every .cpp/.h file of the project)
"""
import os
import re
import shutil
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
MAX_FUNCTION_LINES = 100

PASCAL = re.compile(r"^[A-Z][A-Za-z0-9]*$")
CAMEL = re.compile(r"^[a-z][A-Za-z0-9]*$")
MEMBER = re.compile(r"^[a-z][A-Za-z0-9]*_$")
CONSTANT = re.compile(r"^k[A-Z][A-Za-z0-9]*$")
SNAKE_FILE = re.compile(r"^[a-z0-9]+(_[a-z0-9]+)*\.(cpp|h|h\.in)$")
# Macros of Qt and of Qt Test that stand without a semicolon: Q_OBJECT, Q_ENUM(X), QTEST_MAIN(X), ...
QT_MACRO = re.compile(r"^Q[A-Z]*_[A-Z_]+$")
FIXED_FUNCTIONS = {"main", "LLVMFuzzerTestOneInput"}
ACCESS = {"public", "private", "protected", "signals", "Q_SIGNALS"}

TOKEN = re.compile(
    r"""(?P<id>[A-Za-z_]\w*)|(?P<num>\.?\d(?:[\w.']|[eEpP][+-])*)|(?P<str>"")|(?P<chr>'')|"""
    r"""(?P<op>::|->|\.\.\.|<<=|>>=|[-+*/%&|^!=<>]=|&&|\|\||\+\+|--|\S)"""
)


class Token:
    __slots__ = ("text", "line")

    def __init__(self, text, line):
        self.text = text
        self.line = line

    def __repr__(self):
        return f"{self.text}@{self.line}"


def stripped(source):
    """The source with comments, string and character literals and preprocessor lines blanked out; every
    newline stays where it was, so that line numbers hold. A literal becomes "" or ''."""
    out = []
    i, n = 0, len(source)
    lineStart = True
    while i < n:
        c = source[i]
        if lineStart and c in " \t":
            out.append(c)
            i += 1
            continue
        if lineStart and c == "#":
            # A directive, with its continued lines.
            while i < n and source[i] != "\n":
                if source[i] == "\\" and i + 1 < n and source[i + 1] == "\n":
                    out.append("\n")
                    i += 2
                    continue
                i += 1
            continue
        lineStart = False
        if c == "\n":
            out.append(c)
            lineStart = True
            i += 1
        elif source.startswith("//", i):
            while i < n and source[i] != "\n":
                i += 1
        elif source.startswith("/*", i):
            end = source.find("*/", i + 2)
            end = n if end < 0 else end + 2
            out.append("\n" * source.count("\n", i, end) + " ")
            i = end
        elif c == '"' or (c == "R" and source.startswith('R"', i)):
            raw = re.match(r'R"([^()\\\s]{0,16})\(', source[i:]) if c == "R" else None
            if raw:
                close = ")" + raw.group(1) + '"'
                end = source.find(close, i + raw.end())
                end = n if end < 0 else end + len(close)
            else:
                end = i + 1
                while end < n and source[end] != '"' and source[end] != "\n":
                    end += 2 if source[end] == "\\" else 1
                end += 1
            # Drop a prefix (u8, u, U, L) already written.
            while out and re.match(r"\w", out[-1]) and "".join(out[-2:]).lstrip() in ("u8", "u", "U", "L", "8"):
                out.pop()
            out.append('""' + "\n" * source.count("\n", i, end))
            i = end
        elif c == "'":
            word = re.search(r"[\w.]*$", "".join(out[-40:]))
            if word and word.group(0)[:1].isdigit():  # a digit separator: 1'000'000
                out.append(c)
                i += 1
                continue
            end = i + 1
            while end < n and source[end] != "'" and source[end] != "\n":
                end += 2 if source[end] == "\\" else 1
            while out and out[-1] in ("u", "U", "L", "8"):
                out.pop()
            out.append("''")
            i = end + 1
        else:
            out.append(c)
            i += 1
    return "".join(out)


def tokens(text):
    result = []
    line = 1
    position = 0
    for match in TOKEN.finditer(text):
        line += text.count("\n", position, match.start())
        position = match.start()
        result.append(Token(match.group(0), line))
    return result


def closing(toks, start):
    """Index of the bracket that closes toks[start] (one of ( [ { <)."""
    pairs = {"(": ")", "[": "]", "{": "}", "<": ">"}
    opener, closer = toks[start].text, pairs[toks[start].text]
    depth = 0
    for i in range(start, len(toks)):
        t = toks[i].text
        if opener == "<" and t in ("(", "{", "["):
            i = closing(toks, i)
            continue
        if t == opener:
            depth += 1
        elif t == closer or (opener == "<" and t == ">>"):
            depth -= 2 if t == ">>" else 1
            if depth <= 0:
                return i
        elif opener == "<" and t in (";", "{", "}"):
            return i - 1
    return len(toks) - 1


def topLevel(toks, stop=()):
    """Yields (index, token) of the tokens outside any bracket pair, template arguments included."""
    i = 0
    while i < len(toks):
        t = toks[i].text
        if t in stop:
            return
        yield i, toks[i]
        if t in ("(", "[", "{"):
            i = closing(toks, i)
        elif t == "<" and i > 0 and re.match(r"\w", toks[i - 1].text) and toks[i - 1].text != "operator":
            i = closing(toks, i)
        i += 1


def withoutPrefixes(toks):
    """The statement without what cannot name anything: attributes, a template head, Qt's macros."""
    out = []
    i = 0
    while i < len(toks):
        t = toks[i].text
        if t == "[" and i + 1 < len(toks) and toks[i + 1].text == "[":
            i = closing(toks, i) + 1
            continue
        if t == "template" and i + 1 < len(toks) and toks[i + 1].text == "<":
            i = closing(toks, i + 1) + 1
            continue
        if QT_MACRO.match(t) or t in ("Q_INVOKABLE", "Q_SLOT", "Q_SIGNAL"):
            i += 1
            if i < len(toks) and toks[i].text == "(":
                i = closing(toks, i) + 1
            continue
        out.append(toks[i])
        i += 1
    return out


class Scope:
    def __init__(self, kind, name="", access="public"):
        self.kind = kind  # "namespace", "class", "enum", "function" (a body or a block in one), "init"
        self.name = name
        self.access = access


class Checker:
    def __init__(self):
        self.found = []

    def report(self, path, line, rule, name, why):
        self.found.append((path, line, rule, name, why))

    # -- names of declarations ------------------------------------------------------------------------

    def checkType(self, path, token):
        if not PASCAL.match(token.text):
            self.report(path, token.line, "type", token.text, "types are PascalCase")

    def checkFunction(self, path, token, scope, testFile):
        name = token.text
        if name in FIXED_FUNCTIONS or (scope.kind == "class" and name == scope.name):
            return
        if testFile and name.endswith("_data") and CAMEL.match(name[: -len("_data")]):
            return
        if not CAMEL.match(name):
            self.report(path, token.line, "function", name, "functions are camelCase")

    def checkVariable(self, path, token, scope, specifiers, lambda_):
        name = token.text
        static = "static" in specifiers
        constant = "constexpr" in specifiers or ("const" in specifiers and (static or scope.kind == "namespace"))
        if constant and not (scope.kind == "function" and not static and "constexpr" not in specifiers):
            if lambda_:
                if not CAMEL.match(name):
                    self.report(path, token.line, "function", name, "a lambda held by name is a function: camelCase")
            elif not CONSTANT.match(name):
                self.report(path, token.line, "constant", name, "constants are kPascalCase")
            return
        if scope.kind != "class":
            return
        if scope.access == "public":
            if not CAMEL.match(name):
                self.report(path, token.line, "field", name, "public data is camelCase, without an underscore")
        elif not MEMBER.match(name):
            self.report(path, token.line, "member", name, "private and protected data members are camelCase_")

    # -- statements -------------------------------------------------------------------------------------

    def declaration(self, path, toks, scope, testFile):
        """A statement (without its ';') at namespace or class scope, or in a function."""
        toks = withoutPrefixes(toks)
        if not toks:
            return
        words = [t.text for t in toks]
        first = words[0]
        if first in ("using",):
            if len(toks) >= 3 and toks[2].text == "=" and toks[1].text != "namespace":
                self.checkType(path, toks[1])
            return
        if first in ("friend", "static_assert", "namespace", "return", "delete", "goto", "throw", "co_return"):
            return
        if first == "typedef":
            names = [t for _, t in topLevel(toks) if re.match(r"^[A-Za-z_]\w*$", t.text)]
            if names:
                self.checkType(path, names[-1])
            return
        if first in ("class", "struct", "union", "enum") and len(toks) <= 4 and re.match(r"^\w+$", words[-1]):
            if not (first == "enum" and "=" in words):
                self.checkType(path, toks[-1])  # a declaration ahead: class X; enum class E : int;
                return
        if first in ("if", "else", "for", "while", "do", "switch", "case", "default"):
            return
        if scope.kind == "function" and not ("constexpr" in words or ("static" in words and "const" in words)):
            return
        top = list(topLevel(toks))
        paren = next((i for i, t in top if t.text == "("), None)
        equals = next((i for i, t in top if t.text in ("=", "{")), None)
        if "operator" in words[: paren if paren is not None else len(words)]:
            return
        if paren is not None and (equals is None or paren < equals) and scope.kind != "function":
            self.functionOrObject(path, toks, paren, scope, testFile)
            return
        self.variables(path, toks, top, scope)

    def functionOrObject(self, path, toks, paren, scope, testFile):
        if paren == 0:
            return  # a macro of our own, or a call
        before = toks[paren - 1]
        inside = toks[paren + 1 : closing(toks, paren)]
        if inside and inside[0].text in ("*", "&", "^"):  # a pointer to a function: Type (*name)(...)
            names = [t for t in inside if re.match(r"^[A-Za-z_]\w*$", t.text)]
            if names:
                self.checkVariable(path, names[-1], scope, [t.text for t in toks[:paren]], False)
            return
        if not re.match(r"^[A-Za-z_]\w*$", before.text):
            return
        if paren >= 2 and toks[paren - 2].text in ("::", "~"):
            return  # defined out of its class (checked where it is declared), or a destructor
        if paren == 1 and before.text.isupper():
            return  # a macro
        if inside and (inside[0].text in ('""', "''", "{", "-", "!", "&") or inside[0].text[0].isdigit()):
            # An object made with arguments: Type name(1, "x").
            self.checkVariable(path, before, scope, [t.text for t in toks[: paren - 1]], False)
            return
        self.checkFunction(path, before, scope, testFile)

    def variables(self, path, toks, top, scope):
        """Each declarator of a variable or data member statement: `int a = 1, b_;`."""
        specifiers = []
        declarators = [[]]
        for i, t in top:
            if t.text == ",":
                declarators.append([])
                continue
            declarators[-1].append(i)
        first = True
        for indices in declarators:
            if not indices:
                continue
            cut = next((k for k, i in enumerate(indices) if toks[i].text in ("=", "{", "[", ":")), len(indices))
            head = [toks[i] for i in indices[:cut]]
            names = [t for t in head if re.match(r"^[A-Za-z_]\w*$", t.text)]
            if not names:
                continue
            name = names[-1]
            if first:
                specifiers = [t.text for t in head[:-1]]
                first = False
                if len(names) < 2 and scope.kind != "function":
                    continue  # a lone word: a macro use or an expression, no declaration
            if name.text in ("const", "override", "final", "default", "delete", "noexcept"):
                continue
            rest = [toks[i] for i in indices[cut:]]
            lambda_ = False
            if rest and rest[0].text == "=" and len(rest) > 1 and rest[1].text == "[":
                # A lambda held by name, unless it is called at once for its value.
                lambda_ = rest[-1].text == "{"  # the body closes the statement: nothing calls it
            self.checkVariable(path, name, scope, specifiers, lambda_)

    # -- the walk ---------------------------------------------------------------------------------------

    def headKind(self, head):
        """What a '{' opens, from the tokens that lead to it: (kind, name)."""
        words = [t.text for t in withoutPrefixes(head)]
        if not words:
            return "init", ""
        if "namespace" in words[:2] or words == ["extern", '""']:
            return "namespace", ""
        if words[0] == "enum":
            rest = words[1:]
            if rest[:1] in (["class"], ["struct"]):
                rest = rest[1:]
            name = rest[0] if rest and re.match(r"^\w+$", rest[0]) and rest[0] != ":" else ""
            if "=" not in words and "(" not in words:
                return "enum", name
        if words[0] in ("class", "struct", "union") and len(words) >= 2:
            k = 2 if re.match(r"^\w+$", words[1]) else 1
            if k == 2 and (len(words) == 2 or words[2] in (":", "final")):
                return words[0], words[1]
            if k == 1 and len(words) == 1:
                return words[0], ""
        for _, t in topLevel(head):
            if t.text == "=":
                return "init", ""
        if any(t.text == "(" for _, t in topLevel(head)) or words[0] in ("do", "else", "try"):
            return "function", ""
        return "init", ""

    def check(self, path, source, testFile):
        toks = tokens(stripped(source))
        stack = [Scope("namespace")]
        statement = []
        open_ = 0  # parentheses and brackets the statement has opened and not closed
        i = 0
        while i < len(toks):
            t = toks[i]
            scope = stack[-1]
            if scope.kind == "enum":
                end = closing(toks, i - 1) if toks[i - 1].text == "{" else i
                self.enumerators(path, toks[i:end], scope)
                stack.pop()
                i = end + 1
                statement = []
                continue
            if scope.kind == "class" and not statement and t.text in ACCESS:
                colon = i + (2 if i + 1 < len(toks) and toks[i + 1].text in ("slots", "Q_SLOTS") else 1)
                if colon < len(toks) and toks[colon].text == ":":
                    scope.access = "public" if t.text in ("signals", "Q_SIGNALS") else t.text
                    i = colon + 1
                    continue
            if t.text == ";":
                if scope.kind in ("namespace", "class", "function"):
                    self.declaration(path, statement, scope, testFile)
                statement = []
                open_ = 0
            elif t.text == "{" and open_ > 0:
                # Inside parentheses: a default argument, a lambda passed on, a braced value.
                end = closing(toks, i)
                statement.extend(toks[i : end + 1])
                i = end + 1
                continue
            elif t.text == "{":
                kind, name = self.headKind(statement)
                if scope.kind == "function" and kind not in ("class", "struct", "union", "enum", "init"):
                    kind = "function"  # a block: if, for, a lambda's body, or a bare one
                if kind == "init" and scope.kind in ("namespace", "class", "function") and statement:
                    # A brace initializer: part of the statement, which goes on to its ';'.
                    end = closing(toks, i)
                    statement.extend(toks[i : end + 1])
                    i = end + 1
                    continue
                if kind in ("class", "struct", "union", "enum") and name:
                    self.checkType(path, next(x for x in statement if x.text == name))
                if kind == "function" and scope.kind in ("namespace", "class"):
                    self.declaration(path, statement, scope, testFile)
                if kind == "struct" or kind == "union":
                    stack.append(Scope("class", name, "public"))
                elif kind == "class":
                    stack.append(Scope("class", name, "private"))
                elif kind == "enum":
                    stack.append(Scope("enum", name))
                elif kind == "namespace":
                    stack.append(Scope("namespace"))
                elif kind == "function":
                    stack.append(Scope("function"))
                else:
                    stack.append(Scope("function" if scope.kind == "function" else "init"))
                statement = []
            elif t.text == "}":
                if len(stack) > 1:
                    stack.pop()
                statement = []
                open_ = 0
            else:
                statement.append(t)
                open_ += {"(": 1, "[": 1, ")": -1, "]": -1}.get(t.text, 0)
            i += 1
        if statement:
            self.declaration(path, statement, stack[-1], testFile)

    def enumerators(self, path, toks, scope):
        expectName = True
        depth = 0
        for t in toks:
            if t.text in ("(", "[", "{"):
                depth += 1
            elif t.text in (")", "]", "}"):
                depth -= 1
            elif depth == 0 and t.text == ",":
                expectName = True
            elif expectName and depth == 0 and re.match(r"^[A-Za-z_]\w*$", t.text):
                expectName = False
                if not PASCAL.match(t.text):
                    self.report(path, t.line, "enumerator", t.text, "enumerators are PascalCase")


def sourceFiles():
    """Every .cpp and .h file that git knows; outside a git checkout, every one outside build folders."""
    try:
        listed = subprocess.run(["git", "ls-files", "--", "*.cpp", "*.h", "*.h.in"], cwd=ROOT,
                                capture_output=True, text=True, check=True).stdout.splitlines()
    except (OSError, subprocess.CalledProcessError):
        listed = []
        for folder, subfolders, files in os.walk(ROOT):
            subfolders[:] = [d for d in subfolders if not d.startswith(".") and d != "build"]
            listed += [os.path.relpath(os.path.join(folder, f), ROOT) for f in files
                       if f.endswith((".cpp", ".h", ".h.in"))]
    return sorted(p for p in listed if os.path.exists(os.path.join(ROOT, p)))


def checkFileNames(checker, path, source):
    name = os.path.basename(path)
    if not SNAKE_FILE.match(name):
        checker.report(path, 1, "file", name, "files are named snake_case")
    if name.startswith("tst_"):
        checker.report(path, 1, "test file", name, "test files are test_*.cpp")
    elif "tests" in path.split("/")[:-1] and name.endswith(".cpp") and re.search(r"\bQTEST_\w*MAIN\b", source):
        if not name.startswith("test_"):
            checker.report(path, 1, "test file", name, "test files are test_*.cpp")


def checkLengths(checker, paths):
    pmccabe = shutil.which("pmccabe")
    if pmccabe is None:
        sys.exit("check-names: pmccabe is not installed (scripts/install-deps.sh)")
    out = subprocess.run([pmccabe, *paths], cwd=ROOT, capture_output=True, text=True).stdout
    for line in out.splitlines():
        match = re.match(r"^\d+\t\d+\t\d+\t\d+\t(\d+)\t(.+)\((\d+)\): (.+)$", line)
        if match and int(match.group(1)) > MAX_FUNCTION_LINES:
            checker.report(match.group(2), int(match.group(3)), "length", match.group(4),
                           f"{match.group(1)} lines, over {MAX_FUNCTION_LINES}")


def main():
    paths = sys.argv[1:] or sourceFiles()
    checker = Checker()
    for path in paths:
        with open(os.path.join(ROOT, path), encoding="utf-8", errors="replace") as f:
            source = f.read()
        checkFileNames(checker, path, source)
        checker.check(path, source, "tests" in path.split("/")[:-1])
    checkLengths(checker, [path for path in paths if not path.endswith(".in")])
    for path, line, rule, name, why in sorted(checker.found):
        print(f"{path}:{line}: {rule}: {name} ({why})")
    failing = len(checker.found)
    print(f"check-names: {len(paths)} files, {failing} names break the house dialect")
    return 1 if failing else 0


if __name__ == "__main__":
    sys.exit(main())
