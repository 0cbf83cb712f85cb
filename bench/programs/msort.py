import sys


def random(n):
    x, l = 7, []
    for _ in range(n):
        l.append(x)
        x = (x * 1103515245 + 12345) % 2147483648
    return l[::-1]


def merge(p, q):
    r, i, j = [], 0, 0
    while i < len(p) and j < len(q):
        if p[i] < q[j]:
            r.append(p[i])
            i += 1
        else:
            r.append(q[j])
            j += 1
    return r + p[i:] + q[j:]


def msort(l):
    if len(l) < 2:
        return l
    m = len(l) // 2
    return merge(msort(l[:m]), msort(l[m:]))


s = 0
for k, h in enumerate(msort(random(100000))):
    s = (s * 31 + h * (k % 7 + 1)) % 1000000007
sys.exit(s % 256)
