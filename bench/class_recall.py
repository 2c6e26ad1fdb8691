#!/usr/bin/python3
"""Class recall and precision of Quillet's front end against libclang's own list of class definitions.

    bench/class_recall.py <build>/bench/class_list <tree> [<tree> ...] [--std=c++17] [--show=20]
                          [--include=<folder>]...

For each tree, every header below it is parsed by libclang (python3-clang-14) as a translation unit of its
own, with the tree, every "include" folder below it and the --include folders as the include path (LLVM's
headers need /usr/include/llvm-c-14: a header that clang cannot find stops clang's reading of the unit, and
the classes after it would be missing from clang's list). The class, struct and union
definitions located in the tree's files are collected, by qualified name: namespaces (inline and unnamed
ones left out, as users write the names), enclosing classes, and the template arguments of explicit and
partial specialisations as written. Classes inside function bodies, unnamed classes (unless a typedef names
them) and explicit instantiations are no definitions a reader looks up, and are not counted.

class_list (built with -DQUILLET_BUILD_BENCH=ON) reads the same headers with clang++-14's view of the code
and lists the classes Quillet stores. Names are compared with all blanks removed. Recall is the share of
libclang's classes that Quillet has, precision the share of Quillet's classes that libclang has.

A specialization that a macro expansion defines has no argument tokens of its own in libclang, which then
prints the arguments its own way: qualified in full and with its spelling of integer types
("isa_impl<llvm::MDString,llvm::Metadata>" for "isa_impl<MDString, Metadata>" as the macro's user wrote it,
"<int>" for "<signed>"). A second line of figures therefore compares the names with the namespace
qualifiers inside template argument lists left out and one spelling for each integer type.
"""
import argparse
import ctypes
import os
import re
import subprocess
import sys
import time

import clang.cindex as ci

LIBCLANG = "/usr/lib/llvm-14/lib/libclang.so.1"
HEADERS = (".h", ".hpp", ".hh", ".hxx")
K = ci.CursorKind
RECORDS = {K.CLASS_DECL, K.STRUCT_DECL, K.UNION_DECL, K.CLASS_TEMPLATE,
           K.CLASS_TEMPLATE_PARTIAL_SPECIALIZATION}
SCOPES = {K.NAMESPACE, K.LINKAGE_SPEC, K.UNEXPOSED_DECL}


QUALIFIER = re.compile(r"\b[A-Za-z_]\w*\s*::\s*")
INTEGER_SPELLINGS = [(re.compile(r"\bsigned\s+(short|long\s+long|long|int)\b"), r"\1"),
                     (re.compile(r"\b(short|long\s+long|long|unsigned)\s+int\b"), r"\1"),
                     (re.compile(r"\bunsigned\s+(short|long\s+long|long|char)\b"), r"unsigned_\1"),
                     (re.compile(r"\bsigned\b(?!\s*char)"), "int"),
                     (re.compile(r"\bunsigned_"), "unsigned ")]


def normalized(name):
    """`name` with the namespace qualifiers inside its template argument lists left out and one spelling for
    each integer type there, blanks removed."""
    out, inside, depth = [], [], 0
    for c in name + "\0":
        if depth > 0 and c not in "<>\0":
            inside.append(c)
            continue
        if inside:
            text = QUALIFIER.sub("", "".join(inside))
            for pattern, spelling in INTEGER_SPELLINGS:
                text = pattern.sub(spelling, text)
            out.append(text)
            inside = []
        if c == "<":
            depth += 1
        elif c == ">" and depth > 0:
            depth -= 1
        if c != "\0":
            out.append(c)
    return "".join(out).replace(" ", "")


def setup():
    if os.path.exists(LIBCLANG) and not ci.Config.loaded:
        ci.Config.set_library_file(LIBCLANG)
    lib = ci.conf.lib
    lib.clang_Cursor_isInlineNamespace.argtypes = [ci.Cursor]
    lib.clang_Cursor_isInlineNamespace.restype = ctypes.c_uint


def tree_files(tree):
    headers, includes = [], [tree]
    for folder, dirs, files in os.walk(tree):
        dirs.sort()
        if os.path.basename(folder) == "include":
            includes.append(folder)
        headers += [os.path.join(folder, f) for f in sorted(files) if f.endswith(HEADERS)]
    return sorted(headers), includes


def written_arguments(cursor):
    """The template argument list after the class name, as written: "<const std::string&>". A class that a
    macro expansion defines has no tokens of its own; clang's printed form of the arguments stands in."""
    tokens = list(cursor.get_tokens())
    where = (cursor.location.line, cursor.location.column)
    named = [i for i, t in enumerate(tokens) if (t.location.line, t.location.column) == where]
    if named and tokens[named[0]].spelling == cursor.spelling:
        i = named[0]
        if i + 1 < len(tokens) and tokens[i + 1].spelling == "<":
            depth = 0
            for j in range(i + 1, len(tokens)):
                depth += {"<": 1, ">": -1, ">>": -2}.get(tokens[j].spelling, 0)
                if depth <= 0:
                    return " ".join(t.spelling for t in tokens[i + 1:j + 1])
    return cursor.displayname[len(cursor.spelling):]


class ClangClasses:
    def __init__(self, tree):
        self.tree = os.path.realpath(tree) + os.sep
        self.names = set()
        self.seen = set()
        self.scope_names = {}

    def in_tree(self, cursor):
        f = cursor.location.file
        return f is not None and os.path.realpath(f.name).startswith(self.tree)

    def name_of(self, cursor, typedef_names):
        name = cursor.spelling
        if not name:
            return typedef_names.get(cursor.hash)
        if cursor.kind in (K.CLASS_TEMPLATE_PARTIAL_SPECIALIZATION,) or (
                cursor.kind in (K.CLASS_DECL, K.STRUCT_DECL, K.UNION_DECL)
                and cursor.displayname != cursor.spelling and "<" in cursor.displayname):
            name += written_arguments(cursor)
        return name

    def scope_of(self, cursor):
        parts = []
        parent = cursor.semantic_parent
        while parent is not None and parent.kind != K.TRANSLATION_UNIT:
            if parent.kind == K.NAMESPACE:
                if parent.spelling and not ci.conf.lib.clang_Cursor_isInlineNamespace(parent):
                    parts.append(parent.spelling)
            elif parent.kind in RECORDS:
                parts.append(self.scope_names.get(parent.hash) or parent.spelling)
            parent = parent.semantic_parent
        return "::".join(reversed(parts))

    def walk(self, cursor):
        children = list(cursor.get_children())
        typedef_names = {}
        for child in children:
            if child.kind == K.TYPEDEF_DECL:
                declaration = child.underlying_typedef_type.get_declaration()
                if declaration is not None and not declaration.spelling:
                    typedef_names[declaration.hash] = child.spelling
        for child in children:
            if child.kind in SCOPES:
                self.walk(child)
                continue
            if child.kind not in RECORDS or not child.is_definition() or not self.in_tree(child):
                continue
            name = self.name_of(child, typedef_names)
            if name is None:
                continue
            # The classes one macro invocation makes share its place; their names tell them apart.
            where = (child.location.file.name, child.location.line, child.location.column, name)
            self.scope_names[child.hash] = name
            if where not in self.seen:
                self.seen.add(where)
                tokens = child.get_tokens()
                first, second = next(tokens, None), next(tokens, None)
                instantiation = first is not None and first.spelling in ("template", "extern") and (
                    second is None or second.spelling != "<")
                if not instantiation:
                    scope = self.scope_of(child)
                    self.names.add(((scope + "::") if scope else "") + name)
            self.walk(child)


def clang_classes(tree, std, extra_includes):
    headers, includes = tree_files(tree)
    includes += extra_includes
    classes = ClangClasses(tree)
    index = ci.Index.create()
    args = ["-x", "c++", "-std=" + std] + ["-I" + folder for folder in includes]
    options = ci.TranslationUnit.PARSE_SKIP_FUNCTION_BODIES | ci.TranslationUnit.PARSE_INCOMPLETE
    for header in headers:
        try:
            unit = index.parse(header, args=args, options=options)
        except ci.TranslationLoadError:
            continue
        classes.walk(unit.cursor)
    return classes.names


def quillet_classes(class_list, tree, std, extra_includes):
    run = subprocess.run([class_list, tree, "--compiler=clang++-14", "--std=" + std] +
                         ["--include=" + folder for folder in extra_includes],
                         capture_output=True, text=True, check=True)
    names = set()
    for line in run.stdout.splitlines():
        _, namespace, name, key = line.split("\t")
        if key == "concept":
            continue
        names.add(((namespace + "::") if namespace else "") + name)
    not_in_class = [m for m in run.stderr.splitlines() if "function not in class" in m]
    return names, not_in_class


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("class_list")
    parser.add_argument("trees", nargs="+")
    parser.add_argument("--std", default="c++17")
    parser.add_argument("--show", type=int, default=20, help="misses and extras shown per tree")
    parser.add_argument("--include", action="append", default=[], help="another include folder")
    options = parser.parse_args()
    setup()
    for tree in options.trees:
        start = time.time()
        written_theirs = clang_classes(tree, options.std, options.include)
        written_ours, not_in_class = quillet_classes(options.class_list, tree, options.std, options.include)
        for title, spelled in (("as written", lambda n: n.replace(" ", "")), ("normalized", normalized)):
            theirs = {spelled(name) for name in written_theirs}
            ours = {spelled(name) for name in written_ours}
            both = theirs & ours
            recall = len(both) / len(theirs) if theirs else 1.0
            precision = len(both) / len(ours) if ours else 1.0
            print(f"{tree} ({title}): libclang {len(theirs)} classes, quillet {len(ours)}, both {len(both)}: "
                  f"recall {recall:.4f}, precision {precision:.4f} ({time.time() - start:.0f} s)")
        print(f"  'function not in class' lines: {len(not_in_class)}")
        for line in not_in_class[:options.show]:
            print("    " + line)
        for title, names in (("missed", theirs - ours), ("extra", ours - theirs)):
            print(f"  {title}: {len(names)}")
            for name in sorted(names)[:options.show]:
                print("    " + name)
    return 0


if __name__ == "__main__":
    sys.exit(main())
