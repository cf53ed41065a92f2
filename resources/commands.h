/* Command numbers of the menu, shared by the resource script and the code. */
#ifndef TAVRIMO_COMMANDS_H
#define TAVRIMO_COMMANDS_H

#define IDR_MAINMENU 4

#define IDM_CLEAR_LINES 40003
#define IDM_QUIT 40004
#define IDM_DEGREE_1 40058
#define IDM_DEGREE_2 40059
#define IDM_DEGREE_3 40060
#define IDM_DEGREE_4 40061
#define IDM_DEGREE_5 40062
#define IDM_DEGREE_6 40063
#define IDM_DEGREE_7 40064
#define IDM_DEGREE_8 40065
#define IDM_DEGREE_9 40066
#define IDM_INSTRUCTIONS 40067
#define IDM_ABOUT 40069

#endif
