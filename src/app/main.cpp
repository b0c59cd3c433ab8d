// Replaced by the window loop as soon as the framework's window lands.
int main()
{
    return 0;
}
