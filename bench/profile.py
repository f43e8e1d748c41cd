#!/usr/bin/env python3
# Names the samples zqbench writes with ZQBENCH_PROFILE set: inclusive and own shares per routine.
# Usage: bench/profile.py <samples> <bin-dir> [--top N] [--filter TEXT]
import collections, os, subprocess, sys

def main():
    path, bindir = sys.argv[1], sys.argv[2]
    top = int(sys.argv[sys.argv.index('--top') + 1]) if '--top' in sys.argv else 60
    flt = sys.argv[sys.argv.index('--filter') + 1] if '--filter' in sys.argv else None
    mods, samples = {}, []
    for line in open(path, errors='replace'):
        if line.startswith('M '):
            _, i, name = line.rstrip('\n').split(' ', 2)
            mods[int(i)] = name
        elif line.startswith('S'):
            frames = []
            for f in line.split()[1:]:
                m, off = f.split(':')
                frames.append((int(m), int(off, 16)))
            samples.append(frames)
    # Map module paths to files in bin-dir with debug info.
    wanted = collections.defaultdict(set)
    for s in samples:
        for i, (m, off) in enumerate(s):
            # return addresses point after the call
            wanted[m].add(off if i == 0 else off - 1)
    names = {}
    for m, offs in wanted.items():
        base = os.path.basename(mods.get(m, '?').replace('\\', '/'))
        local = os.path.join(bindir, base)
        if m < 0 or not os.path.exists(local):
            for o in offs: names[(m, o)] = base or '?'
            continue
        out = subprocess.run(['x86_64-w64-mingw32-objdump', '-p', local], capture_output=True, text=True).stdout
        ib = 0
        for l in out.splitlines():
            if l.startswith('ImageBase'):
                ib = int(l.split()[1], 16)
        offs = sorted(offs)
        r = subprocess.run(['x86_64-w64-mingw32-addr2line', '-f', '-C', '-e', local] + ['%x' % (ib + o) for o in offs],
                           capture_output=True, text=True).stdout.splitlines()
        for k, o in enumerate(offs):
            fn = r[2 * k] if 2 * k < len(r) else '??'
            if fn == '??': fn = base + '+%x' % o
            names[(m, o)] = base + '!' + fn
    incl, own = collections.Counter(), collections.Counter()
    for s in samples:
        seen = set()
        for i, (m, off) in enumerate(s):
            n = names[(m, off if i == 0 else off - 1)]
            if i == 0: own[n] += 1
            if n not in seen:
                seen.add(n); incl[n] += 1
    total = len(samples)
    print('%d samples' % total)
    print('-- inclusive')
    k = 0
    for n, c in incl.most_common():
        if flt and flt not in n: continue
        print('%6.1f%%  %s' % (100.0 * c / total, n[:200])); k += 1
        if k >= top: break
    for want in [a for i, a in enumerate(sys.argv) if i > 0 and sys.argv[i - 1] == '--children']:
        kids, callers = collections.Counter(), collections.Counter()
        for s in samples:
            ns = [names[(m, off if i == 0 else off - 1)] for i, (m, off) in enumerate(s)]
            for i, n in enumerate(ns):
                if want in n:
                    if i > 0: kids[ns[i - 1]] += 1
                    else: kids['(own)'] += 1
                    if i + 1 < len(ns): callers[ns[i + 1]] += 1
                    break
        print('-- callers of ' + want)
        for n, c in callers.most_common(12): print('%6.1f%%  %s' % (100.0 * c / total, n[:160]))
        print('-- children of ' + want)
        for n, c in kids.most_common(25): print('%6.1f%%  %s' % (100.0 * c / total, n[:160]))
    print('-- own')
    for n, c in own.most_common(30):
        print('%6.1f%%  %s' % (100.0 * c / total, n[:200]))

main()
