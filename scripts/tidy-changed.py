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

    tidy-changed.py BUILD_DIR STAMP_FILE SOURCE...
"""
import concurrent.futures
import hashlib
import json
import os
import re
import subprocess
import sys

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
    with open(os.path.join(build, 'compile_commands.json')) as f:
        commands = {os.path.normpath(os.path.join(entry['directory'], entry['file'])):
                    entry['command'].replace(os.path.abspath(build), '<build>').replace(root, '<root>')
                    for entry in json.load(f)}

    def key_of(source):
        digest = common.copy()
        digest.update(commands.get(os.path.join(root, source), '').encode() + b'\0')
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
    print(f'clang-tidy: {len(changed)} of {len(sources)} sources changed since their last clean pass',
          file=sys.stderr)

    def tidy(source):
        run = subprocess.run(['clang-tidy', '-p', build, '--quiet', source],
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        return source, run.returncode, run.stdout.decode('utf-8', 'replace')

    failed = False
    with concurrent.futures.ThreadPoolExecutor(os.cpu_count() or 1) as pool:
        for source, code, output in pool.map(tidy, changed):
            findings = [line for line in output.splitlines() if re.search(r'(error|warning):', line)]
            if code == 0 and not findings:
                passed[source] = keys[source]
            else:
                failed = True
                passed.pop(source, None)
                print('\n'.join(findings) or output, file=sys.stderr)
    # Sources no longer there are forgotten.
    passed = {source: key for source, key in passed.items() if source in keys}
    os.makedirs(os.path.dirname(os.path.abspath(stamp)), exist_ok=True)
    with open(stamp + '.tmp', 'w') as f:
        json.dump(passed, f, indent=0, sort_keys=True)
    os.replace(stamp + '.tmp', stamp)
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
