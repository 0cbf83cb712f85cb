import sys
sys.set_int_max_str_digits(0)
r = 1
for i in range(2, 10001):
    r *= i
print(r)
sys.exit(r % 256)
