#!/usr/bin/env python3
"""clang-tidy on the sources that changed since their last clean pass.

A source is checked again when it, a header of the project it includes
(followed through the headers it includes in turn), the checks that apply
to it (.clang-tidy of its folders), the compiler's command for it (as the
build's compile_commands.json has it, wherever the checkout is) or
clang-tidy itself changed since clang-tidy last found nothing in it; the
sources it passed are recorded in STAMP_FILE, by their paths in the
checkout, so that another checkout of the same sources (a fresh clone)
passes them as ccache passes their builds. A first run checks every
source.

Most of a source's pass is the matching of the system headers (and
GoogleTest's) against every check, so the sources of one program that are
compiled alike are checked together, up to BATCH in one unit that includes
them, for all checks but clang-analyzer's. Those look at a declaration or a
function at a time, and find in a batch what they find in each source. The
analyzer follows calls into the functions of its unit, so it checks each
source alone. A batch that finds anything, or that does not compile (two
sources that use one name for two things), has its sources checked again
one by one, and only what those find counts.

    tidy-changed.py BUILD_DIR STAMP_FILE SOURCE...
"""
import concurrent.futures
import hashlib
import json
import os
import re
import subprocess
import sys
import tempfile

BATCH = 16
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)


def main():
    build, stamp, sources = sys.argv[1], sys.argv[2], sys.argv[3:]
    root = os.getcwd()
    cache = {}

    def text_of(path):
        if path not in cache:
            with open(path, 'rb') as f:
                cache[path] = f.read()
        return cache[path]

    def resolve(name, folder):
        for base in (folder, root, os.path.join(root, 'res')):
            path = os.path.normpath(os.path.join(base, name))
            if os.path.isfile(path):
                return path
        return None  # a system header, or one the build makes

    def checks_of(source):
        """The checks' files that apply to a source: its folders' and the root's."""
        folder = os.path.dirname(os.path.join(root, source))
        texts = []
        while True:
            path = os.path.join(folder, '.clang-tidy')
            if os.path.isfile(path):
                texts.append(text_of(path))
            if os.path.normpath(folder) == os.path.normpath(root):
                return b'\0'.join(texts)
            folder = os.path.dirname(folder)

    # What every source's pass depends on: the tool; and what each one's
    # depends on: the compiler's command for it, the places of the checkout
    # and the build taken out.
    common = hashlib.sha1(subprocess.run(['clang-tidy', '--version'], stdout=subprocess.PIPE).stdout)
    first_entry = {}
    with open(os.path.join(build, 'compile_commands.json')) as f:
        for entry in json.load(f):
            path = os.path.normpath(os.path.join(entry['directory'], entry['file']))
            first_entry.setdefault(os.path.relpath(path, root), entry)

    def key_of(source):
        digest = common.copy()
        command = first_entry[source]['command'] if source in first_entry else ''
        digest.update(command.replace(os.path.abspath(build), '<build>').replace(root, '<root>').encode() + b'\0')
        digest.update(checks_of(source))
        seen, todo = set(), [os.path.join(root, source)]
        while todo:
            path = todo.pop()
            if path in seen:
                continue
            seen.add(path)
            text = text_of(path)
            digest.update(os.path.relpath(path, root).encode() + b'\0' + text)
            for name in INCLUDE.findall(text.decode('utf-8', 'replace')):
                found = resolve(name, os.path.dirname(path))
                if found:
                    todo.append(found)
        return digest.hexdigest()

    try:
        with open(stamp) as f:
            passed = json.load(f)
    except (OSError, ValueError):
        passed = {}
    keys = {source: key_of(source) for source in sources}
    changed = [source for source in sources if passed.get(source) != keys[source]]

    def analyzed(source):
        run = subprocess.run(['clang-tidy', '--list-checks', source], cwd=root,
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        return b'clang-analyzer-' in run.stdout

    # The jobs: (sources, the checks to add to theirs). The analyzer's checks
    # alone, for each source that has them; the others in batches of the
    # sources of one program, compiled with one command and checked with
    # one set of checks; a source the build does not compile, alone.
    NOT_ANALYZER, ANALYZER_ONLY = '-clang-analyzer-*', '-*,clang-analyzer-*'
    jobs, groups, analyzed_by_checks = [], {}, {}
    for source in changed:
        checks = checks_of(source)
        if checks not in analyzed_by_checks:
            analyzed_by_checks[checks] = analyzed(source)
        entry = first_entry.get(source)
        target = entry and re.search(r' -o (\S*/)?CMakeFiles/([^/]+)\.dir/', entry['command'])
        if not target:
            jobs.append(([source], None))
            continue
        if analyzed_by_checks[checks]:
            jobs.append(([source], ANALYZER_ONLY))
        # The flags, without the source and the object file.
        command = re.sub(r' -o \S+| -c \S+', '', entry['command']).replace(entry['file'], '')
        groups.setdefault((target.group(2), command, checks), []).append(source)
    batches = []
    for members in groups.values():
        # Those that include the sockets' header first: it must come before
        # <windows.h>.
        members.sort(key=lambda source: b'<winsock2.h>' not in text_of(os.path.join(root, source)))
        count = -(-len(members) // BATCH)
        batches += [(members[i::count], NOT_ANALYZER) for i in range(count)]
    print(f'clang-tidy: {len(changed)} of {len(sources)} sources changed since their last clean pass'
          f'; checked in {len(batches)} batches, the analyzer\'s checks one by one', file=sys.stderr)

    def run_tidy(source, extra, database=build):
        run = subprocess.run(['clang-tidy', '-p', database, '--quiet'] + ([f'--checks={extra}'] if extra else []) +
                             [source], cwd=root, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        output = run.stdout.decode('utf-8', 'replace')
        findings = [line for line in output.splitlines() if re.search(r'(error|warning):', line)]
        return run.returncode == 0 and not findings, '\n'.join(findings) or output

    def tidy(job):
        """The job's results: [(source, clean, findings)]."""
        members, extra = job
        if len(members) == 1:
            return [(members[0], *run_tidy(members[0], extra))]
        # Beside its first source, for the same checks' files (a name that no
        # build's list of sources takes).
        folder = os.path.dirname(os.path.join(root, members[0]))
        fd, unit = tempfile.mkstemp(prefix='.tidy-batch-', suffix='.cc', dir=folder)
        with tempfile.TemporaryDirectory() as database:
            try:
                with os.fdopen(fd, 'w') as f:
                    for source in members:
                        f.write(f'#include "{os.path.join(root, source)}" // NOLINT(bugprone-suspicious-include)\n')
                entry = dict(first_entry[members[0]])
                entry['command'] = entry['command'].replace(entry['file'], unit)
                entry['file'] = unit
                with open(os.path.join(database, 'compile_commands.json'), 'w') as f:
                    json.dump([entry], f)
                clean, _ = run_tidy(unit, extra, database)
            finally:
                os.remove(unit)
        if clean:
            return [(source, True, '') for source in members]
        print(f'clang-tidy: a batch of {len(members)} found something or did not compile: its sources alone',
              file=sys.stderr)
        return [(source, *run_tidy(source, extra)) for source in members]

    failed = set()
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 1) as pool:
        for results in pool.map(tidy, batches + jobs):
            for source, clean, findings in results:
                if not clean:
                    failed.add(source)
                    print(findings, file=sys.stderr)
    for source in changed:
        if source in failed:
            passed.pop(source, None)
        else:
            passed[source] = keys[source]
    # Sources no longer there are forgotten.
    passed = {source: key for source, key in passed.items() if source in keys}
    os.makedirs(os.path.dirname(os.path.abspath(stamp)), exist_ok=True)
    with open(stamp + '.tmp', 'w') as f:
        json.dump(passed, f, indent=0, sort_keys=True)
    os.replace(stamp + '.tmp', stamp)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
