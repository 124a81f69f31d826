#!/usr/bin/env python3
"""Mutation run over portable source files (see scripts/mutate.sh).

Each mutant is one change at one place of one file: a comparison flipped, a
condition inverted, an off-by-one, a constant turned, a call or assignment
line deleted. The file is changed in the source tree, only the host test
programs that cover its folder are rebuilt (in build/mutate, no sanitizers)
and run; the file is restored afterwards in every case, also on Ctrl+C.
A mutant is killed when a test fails or times out, survives when every test
passes, and is set aside when it does not build or is listed as equivalent
in scripts/mutate-equivalent.txt.
"""

import argparse
import os
import random
import re
import shutil
import signal
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
EQUIVALENT_LIST = os.path.join(ROOT, "scripts", "mutate-equivalent.txt")

# Which host test programs cover the files of a folder (longest prefix wins).
# Folders with a tests/CMakeLists.txt of their own that are not listed here
# are looked up there.
COVERING_TESTS = {
    "search/": ["search_tests"],
    "store/": ["store_tests", "background_save_tests"],
    "transfer/": ["transfer_tests"],
    "xml/": ["xml_tests"],
    "config/": ["setting_tests", "language_tests"],
    "platform/": ["platform_tests", "platform_folder_tests"],
    "integration/": ["registry_script_tests", "opening_rules_tests", "tray_rules_tests"],
    "app/": ["app_command_line_tests"],
}

SPACED = r"(?<=\s){}(?=\s)"
# (name, pattern, replacement): every match of `pattern` in the code part of a
# line gives one mutant.
OPERATORS = [
    ("lt->le", SPACED.format("<"), "<="),
    ("le->lt", SPACED.format("<="), "<"),
    ("gt->ge", SPACED.format(">"), ">="),
    ("ge->gt", SPACED.format(">="), ">"),
    ("eq->ne", SPACED.format("=="), "!="),
    ("ne->eq", SPACED.format("!="), "=="),
    ("and->or", SPACED.format("&&"), "||"),
    ("or->and", SPACED.format(r"\|\|"), "&&"),
    ("true->false", r"\btrue\b", "false"),
    ("false->true", r"\bfalse\b", "true"),
    ("plus1->minus1", r"(?<=\s)\+ 1\b", "- 1"),
    ("minus1->plus1", r"(?<=\s)- 1\b", "+ 1"),
    ("drop+1", r"\s\+ 1\b(?!\.)", ""),
    ("drop-1", r"\s- 1\b(?!\.)", ""),
    ("inc->dec", r"\+\+", "--"),
    ("dec->inc", r"(?<![-\w])--(?=\w)|(?<=\w)--(?![-\w>])", "++"),
    ("drop-not", r"(?<![\w)\]!=])!(?!=)", ""),
    ("min->max", r"\bstd::min\b", "std::max"),
    ("max->min", r"\bstd::max\b", "std::min"),
    ("zero->one", r"(?<![\w.])0(?![\w.x])", "1"),
    ("one->zero", r"(?<![\w.])1(?![\w.])", "0"),
    ("break->continue", r"\bbreak;", "continue;"),
    ("continue->break", r"\bcontinue;", "break;"),
]

# Whole-line mutants: a call statement or an assignment deleted, a boolean
# result inverted.
CALL_LINE = re.compile(r"^\s*(?:[A-Za-z_][\w:]*(?:\.|->|::))*[A-Za-z_]\w*(?:<[^;]*>)?\(.*\);\s*$")
ASSIGN_LINE = re.compile(r"^\s*[A-Za-z_][\w.\->\[\]]*\s*(?:=|\+=|-=|\|=|&=|\*=)\s*[^=].*;\s*$|^\s*(?:\+\+|--)?[A-Za-z_][\w.\->]*(?:\+\+|--)?;\s*$")
RETURN_BOOLISH = re.compile(r"^(\s*return )(.*(?:==|!=| < | > | <= | >= |&&|\|\||\b(?:Is|Has|Can|Same|Equal|Contains|Exists|Starts|Ends)\w*\().*);\s*$")
NOT_A_STATEMENT = re.compile(r"^\s*(?:return|if|else|for|while|switch|case|do|delete|throw|using|typedef|namespace|template|static_assert|#)\b")


def code_mask(lines):
    """For every line, a string where comments and literals are blanked out."""
    masked = []
    in_block = False
    for line in lines:
        out = []
        i = 0
        n = len(line)
        while i < n:
            c = line[i]
            if in_block:
                if line.startswith("*/", i):
                    in_block = False
                    out.append("  ")
                    i += 2
                else:
                    out.append(" ")
                    i += 1
                continue
            if line.startswith("//", i):
                out.append(" " * (n - i))
                break
            if line.startswith("/*", i):
                in_block = True
                out.append("  ")
                i += 2
                continue
            if c in "\"'":
                if c == "'" and i > 0 and line[i - 1].isalnum():  # digit separator
                    out.append(c)
                    i += 1
                    continue
                j = i + 1
                if c == '"' and i > 0 and line[i - 1] == "R":  # raw string: leave the line alone
                    out.append(" " * (n - i))
                    break
                while j < n and line[j] != c:
                    j += 2 if line[j] == "\\" else 1
                j = min(j + 1, n)
                out.append(c + " " * (j - i - 2) + (c if j - i >= 2 else ""))
                i = j
                continue
            out.append(c)
            i += 1
        masked.append("".join(out))
    return masked


def balanced(text):
    return text.count("(") == text.count(")") and text.count("{") == text.count("}")


def list_mutants(path):
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    masked = code_mask(lines)
    mutants = []  # (line index, operator, new line)
    for idx, (line, code) in enumerate(zip(lines, masked)):
        stripped = code.strip()
        if not stripped or stripped.startswith("#") or "static_assert" in code:
            continue
        for name, pattern, repl in OPERATORS:
            for m in re.finditer(pattern, code):
                new = line[: m.start()] + repl + line[m.end():]
                mutants.append((idx, name, new))
        prev = masked[idx - 1].rstrip() if idx > 0 else ""
        starts_statement = prev == "" or prev.endswith((";", "{", "}", ":"))
        if starts_statement and balanced(code) and not NOT_A_STATEMENT.match(code) and "{" not in code:
            if CALL_LINE.match(code) and not re.match(r"^\s*[A-Za-z_][\w:<>]*\s+[A-Za-z_]\w*\(", code):
                mutants.append((idx, "drop-call", ""))
            elif ASSIGN_LINE.match(code):
                mutants.append((idx, "drop-assign", ""))
        m = RETURN_BOOLISH.match(code)
        if m and balanced(code):
            head = len(m.group(1))
            expr_end = line.rindex(";")
            mutants.append((idx, "not-return", line[:head] + "!(" + line[head:expr_end] + ")" + line[expr_end:]))
    return lines, mutants


def covering_tests(rel):
    best = None
    for prefix, tests in COVERING_TESTS.items():
        if rel.startswith(prefix) and (best is None or len(prefix) > len(best[0])):
            best = (prefix, tests)
    folder = os.path.dirname(rel)
    own = os.path.join(ROOT, folder, "tests", "CMakeLists.txt")
    if os.path.exists(own) and (best is None or len(folder) + 1 > len(best[0])):
        with open(own, encoding="utf-8") as f:
            text = f.read()
        names = [n for n in re.findall(r"quorva_add_test\((\w+)", text) if not n.startswith("ui_")]
        if names:
            return names
    return best[1] if best else []


def load_equivalents():
    items = set()
    if os.path.exists(EQUIVALENT_LIST):
        with open(EQUIVALENT_LIST, encoding="utf-8") as f:
            for raw in f:
                raw = raw.rstrip("\n")
                if not raw.strip() or raw.lstrip().startswith("#") or " | " not in raw:
                    continue
                path, op, text = (part.strip() for part in raw.split(" | ", 2))
                items.add((path, op, text))
    return items


class Restorer:
    """Puts the original file back, whatever ends the run."""

    def __init__(self, path, original, backup):
        self.path, self.original, self.backup = path, original, backup

    def write_original(self):
        with open(self.path, "w", encoding="utf-8", newline="") as f:
            f.write(self.original)

    def restore(self):
        self.write_original()
        if os.path.exists(self.backup):
            os.remove(self.backup)


def run(cmd, timeout=None, **kw):
    """(exit code, output); the code is None when the time ran out. The
    command runs in a session of its own, so that all it started goes with
    it."""
    p = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, start_new_session=True, **kw)
    try:
        out, _ = p.communicate(timeout=timeout)
        return p.returncode, out.decode("utf-8", "replace")
    except BaseException:
        os.killpg(p.pid, signal.SIGKILL)
        p.communicate()
        if sys.exc_info()[0] is subprocess.TimeoutExpired:
            return None, "timeout"
        raise


def configure(build):
    if os.path.exists(os.path.join(build, "build.ninja")):
        return True
    rc, out = run(["cmake", "-S", ROOT, "-B", build, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=MutationRun",
                   "-DCMAKE_CXX_FLAGS_MUTATIONRUN=-O1", "-DCMAKE_C_FLAGS_MUTATIONRUN=-O1"])
    if rc != 0:
        print(out)
    return rc == 0


def test_programs(build, tests):
    found = {}
    for base, _, files in os.walk(build):
        for name in files:
            if name in tests and os.access(os.path.join(base, name), os.X_OK):
                found[name] = os.path.join(base, name)
    return [found[t] for t in tests if t in found]


def build_and_test(build, tests, timeout):
    """("pass" | "fail" | "nobuild", output). Each test program runs in its
    own folder, as CTest runs it, and fails when it outlasts `timeout`."""
    rc, out = run(["cmake", "--build", build, "-j1", "--target"] + tests)
    if rc != 0:
        return "nobuild", out
    programs = test_programs(build, tests)
    if len(programs) != len(tests):
        return "nobuild", "test programs missing in " + build
    for program in programs:
        rc, out = run([program, "--gtest_brief=1"], timeout=timeout or 600, cwd=os.path.dirname(program))
        if rc != 0:
            return "fail", out
    return "pass", out


def mutate_file(rel, args, equivalents):
    path = os.path.join(ROOT, rel)
    tests = covering_tests(rel)
    if not tests:
        print(f"{rel}: no covering host tests known; add its folder to COVERING_TESTS")
        return None
    with open(path, encoding="utf-8", newline="") as f:
        original = f.read()
    lines, mutants = list_mutants(path)
    total_found = len(mutants)
    if args.sample and len(mutants) > args.sample:
        rng = random.Random(args.seed)
        mutants = sorted(rng.sample(mutants, args.sample), key=lambda m: (m[0], m[1]))
    print(f"== {rel}: {total_found} mutants, running {len(mutants)} against {' '.join(tests)}", flush=True)
    if args.list:
        for idx, op, new in mutants:
            print(f"  {rel}:{idx + 1} {op}: {new.strip() or '(line deleted)'}")
        return None

    backup = os.path.join(args.build, "mutate-backup", rel)
    os.makedirs(os.path.dirname(backup), exist_ok=True)
    with open(backup, "w", encoding="utf-8", newline="") as f:
        f.write(original)
    restorer = Restorer(path, original, backup)
    killed, survived, nobuild, aside = 0, [], 0, []
    try:
        build_and_test(args.build, tests, args.timeout)  # builds; the run below is timed alone
        began = time.time()
        state, out = build_and_test(args.build, tests, args.timeout)
        # A mutant that loops is stopped well before the general limit.
        timeout = args.timeout or max(15, int((time.time() - began) * 4) + 5)
        if state != "pass":
            print(out[-3000:])
            print(f"{rel}: the covering tests do not pass unchanged ({state}); skipped")
            return None
        for n, (idx, op, new) in enumerate(mutants, 1):
            wait_while_paused(args.build, restorer)
            shown = new.strip() or "(line deleted)"
            key = new.strip() or "delete: " + lines[idx].strip()
            if (rel, op, key) in equivalents:
                aside.append((idx, op, shown))
                continue
            changed = lines[:idx] + [new] + lines[idx + 1:]
            with open(path, "w", encoding="utf-8", newline="") as f:
                f.write("\n".join(changed))
            start = time.time()
            state, _ = build_and_test(args.build, tests, timeout)
            verdict = {"fail": "killed", "pass": "SURVIVED", "nobuild": "no build"}[state]
            if state == "fail":
                killed += 1
            elif state == "pass":
                survived.append((idx, op, lines[idx].strip(), shown))
            else:
                nobuild += 1
            if args.verbose or state == "pass":
                print(f"  [{n}/{len(mutants)}] {verdict:8} {rel}:{idx + 1} {op}: {shown}  ({time.time() - start:.0f}s)", flush=True)
    finally:
        restorer.restore()
    counted = killed + len(survived)
    score = 100.0 * killed / counted if counted else 100.0
    print(f"-- {rel}: score {score:.0f}% ({killed}/{counted} killed; {nobuild} did not build; {len(aside)} set aside as equivalent)")
    for idx, op, before, after in survived:
        print(f"   survived {rel}:{idx + 1} {op}\n      was: {before}\n      now: {after}")
    return rel, killed, counted


def wait_while_paused(build, restorer):
    """`touch build/mutate/pause` holds the run between two mutants (the
    file is restored meanwhile), so that another build can have the machine."""
    flag = os.path.join(build, "pause")
    if os.path.exists(flag):
        restorer.write_original()
        print("  paused: remove " + flag + " to go on", flush=True)
        while os.path.exists(flag):
            time.sleep(2)


def restore_stale_backups(build):
    folder = os.path.join(build, "mutate-backup")
    if not os.path.isdir(folder):
        return
    for base, _, files in os.walk(folder):
        for name in files:
            backup = os.path.join(base, name)
            rel = os.path.relpath(backup, folder)
            print(f"restoring {rel} from a run that was killed")
            shutil.copyfile(backup, os.path.join(ROOT, rel))
            os.remove(backup)


def main():
    parser = argparse.ArgumentParser(description="Mutation run over portable source files.")
    parser.add_argument("files", nargs="+", help="source files, relative to the repository or absolute")
    parser.add_argument("--sample", type=int, default=0, help="run at most N mutants per file (fixed seed)")
    parser.add_argument("--seed", type=int, default=33)
    parser.add_argument("--timeout", type=int, default=0,
                        help="seconds per test program (default: four times the unchanged run)")
    parser.add_argument("--build", default=os.path.join(ROOT, "build", "mutate"))
    parser.add_argument("--list", action="store_true", help="only list the mutants")
    parser.add_argument("--verbose", "-v", action="store_true", help="print every mutant's verdict")
    args = parser.parse_args()

    def stop(signum, _frame):
        raise KeyboardInterrupt(f"signal {signum}")

    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)
    restore_stale_backups(args.build)
    if not args.list and not configure(args.build):
        return 2
    equivalents = load_equivalents()
    results = []
    try:
        for f in args.files:
            rel = os.path.relpath(os.path.abspath(f), ROOT)
            if not os.path.isfile(os.path.join(ROOT, rel)):
                print(f"{f}: no such file")
                continue
            r = mutate_file(rel, args, equivalents)
            if r:
                results.append(r)
    except KeyboardInterrupt:
        print("\ninterrupted; the file is restored")
        return 130
    if len(results) > 1:
        print("== scores")
        for rel, killed, counted in results:
            print(f"  {100.0 * killed / counted if counted else 100.0:5.1f}%  {killed}/{counted}  {rel}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
