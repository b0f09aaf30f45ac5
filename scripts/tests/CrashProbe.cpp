// A program that crashes, so the harness can be seen ending it at once.
int main()
{
    volatile int* volatile nowhere = nullptr;
    *nowhere = 1;
    return 0;
}
