import sys
sys.set_int_max_str_digits(0)
a, b = 0, 1
for _ in range(20000):
    a, b = b, a + b
print(a)
sys.exit(a % 256)
